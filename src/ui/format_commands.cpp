// The Format menu's "E&dit..." (the format manager) and the "Hosts..."
// button (host details).
#include <QPushButton>

#include "engine/format_store.h"
#include "engine/tourney_file.h"
#include "formats/format_manager_form.h"
#include "formats/host_details_form.h"
#include "records/event_log.h"
#include "ui/kestrova_form.h"

namespace kestrova {

void TKestrovaForm::ConnectFormatDialogs() {
    menus_->EditFormats->setEnabled(true);
    connect(menus_->EditFormats, &QAction::triggered, this, [this] { EditFormatsCommand(); });
    connect(startStrip_->HostsButton(), &QPushButton::clicked, this, [this] {
        THostDetailsForm form(state_, this);
        if (form.exec() == QDialog::Accepted) Run([&] { SaveTourney(state_); });
    });
}

void TKestrovaForm::EditFormatsCommand() {
    WriteLog(state_, "Menu: Format/Edit...");
    TFormatManagerForm form(state_, FormatsFilePath(state_), CurrentFormatName(state_), this);
    form.EditorServices = FormatEditorServices;
    if (form.exec() != QDialog::Accepted) return;
    const std::string current = form.CurrentName();
    Run([&] { RebuildFormatMenu(state_, current); });
}

}  // namespace kestrova
