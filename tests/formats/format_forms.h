#pragma once
// The widgets of the format dialogs under their members' names, for the
// form scripts of tests/data/formats.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QTreeWidget>

#include "formats/form_script.h"
#include "formats/format_edit_form.h"
#include "formats/format_manager_form.h"
#include "formats/format_merge_form.h"
#include "formats/host_details_form.h"

namespace kestrova::testing {

#define KESTROVA_NAMED(member) \
    { #member, f->member }

inline TWidgetNames FormatFormNames(QWidget* w) {
    if (auto* f = dynamic_cast<TFormatEditForm*>(w))
        return {KESTROVA_NAMED(NameEdit),           KESTROVA_NAMED(PointsCombo),
                KESTROVA_NAMED(StartEdit),          KESTROVA_NAMED(RulesEdit),
                KESTROVA_NAMED(HostEdit),           KESTROVA_NAMED(CoHostEdit),
                KESTROVA_NAMED(HostPlayerEdit),     KESTROVA_NAMED(CoHostPlayerEdit),
                KESTROVA_NAMED(BootSpin),           KESTROVA_NAMED(TimeLimitsButton),
                KESTROVA_NAMED(PlayerPointsButton), KESTROVA_NAMED(SeatingButton),
                KESTROVA_NAMED(MessageList),        KESTROVA_NAMED(MessageEdit),
                KESTROVA_NAMED(NoAutoPostBox),      KESTROVA_NAMED(DefaultMessageButton),
                KESTROVA_NAMED(SymbolsButton),      KESTROVA_NAMED(SampleBox)};
    if (auto* f = dynamic_cast<THostDetailsForm*>(w))
        return {KESTROVA_NAMED(HostEdit),           KESTROVA_NAMED(CoHostEdit),
                KESTROVA_NAMED(HostPlayerEdit),     KESTROVA_NAMED(CoHostPlayerEdit),
                KESTROVA_NAMED(UnscheduledHostBox), KESTROVA_NAMED(UnscheduledCoHostBox)};
    if (auto* f = dynamic_cast<TFormatManagerForm*>(w))
        return {KESTROVA_NAMED(List),        KESTROVA_NAMED(AddButton),
                KESTROVA_NAMED(EditButton),  KESTROVA_NAMED(DeleteButton),
                KESTROVA_NAMED(CopyButton),  KESTROVA_NAMED(ExportButton),
                KESTROVA_NAMED(ImportButton)};
    if (auto* f = dynamic_cast<TFormatExistsForm*>(w))
        return {KESTROVA_NAMED(Heading), KESTROVA_NAMED(NameEdit), KESTROVA_NAMED(RenameButton)};
    if (auto* f = dynamic_cast<TFormatMergeForm*>(w))
        return {KESTROVA_NAMED(List), KESTROVA_NAMED(AddButton)};
    return {};
}

#undef KESTROVA_NAMED

}  // namespace kestrova::testing
