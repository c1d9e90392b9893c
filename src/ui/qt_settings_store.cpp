// TQtSettingsStore: the per-user settings as named values. Integers and bools
// (1/0) are stored as numbers; an INI-backed store loses the value types, so a
// number is recognised by its text and anything else is taken as a string.
#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include <climits>
#include <stdexcept>

#include "model/tourney_state.h"
#include "kit/dialog_util.h"
#include "ui/qt_ports.h"

namespace kestrova {

namespace {

using TStateOptions = TQtSettingsStore::TStateOptions;
constexpr int RecentTourneyCount = 5;

// Reads one group of values. A value "that must be present" is read with
// Need*; a missing or unreadable one marks the whole read as failed, after
// which nothing more is read.
class TReader {
  public:
    explicit TReader(QSettings& q) : q_(q) {}
    bool Failed() const { return failed_; }
    bool Has(const char* name) const { return !failed_ && q_.contains(name); }
    bool HasInt(const char* name) const {
        int v;
        return Has(name) && ToInt(name, v);
    }
    // Read when present with the integer type; otherwise the default stays.
    void OptInt(const char* name, int& v) {
        int x;
        if (Has(name) && ToInt(name, x)) v = x;
    }
    void OptUInt(const char* name, uint32_t& v) {
        bool ok = false;
        if (!Has(name)) return;
        qlonglong x = q_.value(name).toString().trimmed().toLongLong(&ok);
        if (ok && x >= INT32_MIN && x <= UINT32_MAX) v = static_cast<uint32_t>(x);
    }
    void OptBool(const char* name, bool& v) {
        int x;
        if (Has(name) && ToInt(name, x)) v = x != 0;
    }
    void OptString(const char* name, std::string& v) {
        if (Has(name)) v = FromQ(q_.value(name).toString());
    }
    void NeedInt(const char* name, int& v) {
        if (failed_) return;
        int x;
        if (q_.contains(name) && ToInt(name, x)) {
            v = x;
        } else {
            failed_ = true;
        }
    }
    void NeedBool(const char* name, bool& v) {
        int x = 0;
        NeedInt(name, x);
        if (!failed_) v = x != 0;
    }

  private:
    bool ToInt(const char* name, int& out) const {
        bool ok = false;
        out = q_.value(name).toString().trimmed().toInt(&ok);
        return ok;
    }
    QSettings& q_;
    bool failed_ = false;
};

void ReadValues(TReader& r, TAppSettings& s) {
    r.NeedInt("Left", s.Left);
    r.NeedInt("Top", s.Top);
    if (r.Has("Bracket Arrangement")) {
        r.NeedInt("Height", s.Height);
        r.NeedInt("Bracket Arrangement", s.BracketArrangement);
    }
    r.OptString("Host name", s.HostName);
    r.OptString("Active Macro File", s.MacroFileName);
    r.OptString("Default location", s.FilesFolder);
    r.OptBool("Show Points At End", s.ShowPointsAtEnd);
    r.OptBool("Always On Top", s.AlwaysOnTop);
    r.OptBool("Show Status Summary", s.ShowStatusSummary);
    r.OptString("Default Start Tables", s.DefaultStartTables);
    if (r.HasInt("Remind at 15")) {
        r.NeedBool("Remind at 15", s.RemindAt15);
        r.NeedBool("Remind at 10", s.RemindAt10);
        r.NeedBool("Remind at 5", s.RemindAt5);
    }
    r.OptBool("Reset Boot On Assign", s.ResetBootOnAssign);
    r.OptBool("Show MainMenu Lobbies", s.ShowMainMenuLobbies);
    r.OptBool("Auto-Post Preview", s.AutoPostPreview);
    r.OptBool("Auto-Post Loss", s.AutoPostLoss);
    r.OptBool("Hide Completed Matches", s.HideCompletedMatches);
    if (r.Has("Middle Time Zone")) {
        r.OptString("Middle Time Zone", s.MiddleTimeZone);
        r.NeedBool("Middle Time 24 Hour", s.MiddleTime24Hour);
    }
    if (r.Has("Right Time Zone")) {
        r.OptString("Right Time Zone", s.RightTimeZone);
        r.NeedBool("Right Time 24 Hour", s.RightTime24Hour);
    }
    if (r.HasInt("Confirm Notify Filter")) {
        r.OptUInt("Confirm Notify Filter", s.ConfirmNotifyFilter);
        r.NeedBool("Default Clear ZF List", s.DefaultClearZfList);
    }
    r.OptInt("Last Version Installed", s.LastVersionInstalled);
    r.OptString("Friends Folder", s.FriendsFolder);
}

void ReadStateOptions(TReader& r, TAppSettings& s, TStateOptions& o) {
    r.OptBool("Four Per Table", o.TeamMode);
    r.OptBool("Cap Names", o.CapNames);
    r.OptBool("All Byes in Round 2", o.AllByes);
    r.OptBool("Randomly Assign Byes", o.RandomByes);
    if (r.HasInt("Display match time remaining")) {
        r.NeedBool("Post assignments manually", s.PostAssignmentsManually);
        r.NeedBool("Display match time remaining", s.DisplayMatchTimeRemaining);
    }
}

void ReadRecent(QSettings& q, TAppSettings& s) {
    q.beginGroup("RestoreMRU");
    s.RecentTourneys.clear();
    for (int i = 0; i < RecentTourneyCount; ++i) {
        QString name = QString("F%1").arg(i);
        if (!q.contains(name)) continue;
        QString path = q.value(name).toString();
        if (!path.isEmpty()) s.RecentTourneys.push_back(FromQ(path));
    }
    q.endGroup();
}

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
    return folder;
}

}  // namespace

TQtSettingsStore::TQtSettingsStore(QString iniFile, QString documentsFolder)
    : iniFile_(std::move(iniFile)), documentsFolder_(std::move(documentsFolder)) {}

TQtSettingsStore::~TQtSettingsStore() = default;

std::unique_ptr<QSettings> TQtSettingsStore::Open() const {
    if (!iniFile_.isEmpty()) return std::make_unique<QSettings>(iniFile_, QSettings::IniFormat);
    return std::make_unique<QSettings>("Morlun Software", "Kestrova");
}

std::string TQtSettingsStore::DefaultFilesFolder() const {
    QString docs = documentsFolder_;
    if (docs.isEmpty()) docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (docs.isEmpty())
        docs = QCoreApplication::applicationDirPath() + "/Files";
    else
        docs += "/Tarvex Kestrova Files";
    return WithSeparator(FromQ(QDir::cleanPath(docs)));
}

bool TQtSettingsStore::LoadAppSettings(TAppSettings& settings) {
    return Load(settings, nullptr);
}

bool TQtSettingsStore::LoadSettings(TTourneyState& state) {
    TStateOptions o;
    bool ok = Load(state.Settings, &o);
    state.TeamMode = o.TeamMode;
    state.CapNames = o.CapNames;
    state.AssignAllRound2Byes = o.AllByes;
    state.RandomRound2Byes = o.RandomByes;
    return ok;
}

bool TQtSettingsStore::Load(TAppSettings& settings, TStateOptions* options) {
    TAppSettings s;
    s.FilesFolder = DefaultFilesFolder();
    s.MacroFileName = s.FilesFolder + "Macros.kvm";
    TStateOptions o;
    auto q = Open();
    bool ok = true;
    // No values at all: the first start, every default kept.
    if (!q->allKeys().isEmpty()) {
        TReader r(*q);
        ReadValues(r, s);
        ReadStateOptions(r, s, o);
        ok = !r.Failed();
        ReadRecent(*q, s);
    }
    s.FilesFolder = WithSeparator(s.FilesFolder);
    settings = std::move(s);
    if (options) *options = o;
    return ok;
}

void TQtSettingsStore::Save(const TTourneyState& state) {
    const TAppSettings& s = state.Settings;
    auto q = Open();
    auto str = [&](const char* name, const std::string& v) { q->setValue(name, ToQ(v)); };
    auto flag = [&](const char* name, bool v) { q->setValue(name, v ? 1 : 0); };
    q->setValue("Left", s.Left);
    q->setValue("Top", s.Top);
    q->setValue("Height", s.Height);
    q->setValue("Bracket Arrangement", s.BracketArrangement);
    str("Host name", s.HostName);
    str("Active Macro File", s.MacroFileName);
    str("Default location", s.FilesFolder);
    flag("Show Points At End", s.ShowPointsAtEnd);
    flag("Always On Top", s.AlwaysOnTop);
    flag("Show Status Summary", s.ShowStatusSummary);
    flag("Remind at 15", s.RemindAt15);
    flag("Remind at 10", s.RemindAt10);
    flag("Remind at 5", s.RemindAt5);
    flag("Reset Boot On Assign", s.ResetBootOnAssign);
    flag("Show MainMenu Lobbies", s.ShowMainMenuLobbies);
    flag("Auto-Post Preview", s.AutoPostPreview);
    flag("Auto-Post Loss", s.AutoPostLoss);
    flag("Hide Completed Matches", s.HideCompletedMatches);
    str("Middle Time Zone", s.MiddleTimeZone);
    flag("Middle Time 24 Hour", s.MiddleTime24Hour);
    str("Right Time Zone", s.RightTimeZone);
    flag("Right Time 24 Hour", s.RightTime24Hour);
    // Stored as the signed 32-bit number a registry DWORD read back would give.
    q->setValue("Confirm Notify Filter", static_cast<int32_t>(s.ConfirmNotifyFilter));
    flag("Default Clear ZF List", s.DefaultClearZfList);
    str("Friends Folder", s.FriendsFolder);
    flag("Four Per Table", state.TeamMode);
    flag("Cap Names", state.CapNames);
    flag("All Byes in Round 2", state.AssignAllRound2Byes);
    flag("Randomly Assign Byes", state.RandomRound2Byes);
    flag("Post assignments manually", s.PostAssignmentsManually);
    flag("Display match time remaining", s.DisplayMatchTimeRemaining);
    q->beginGroup("RestoreMRU");
    q->remove("");
    for (size_t i = 0; i < s.RecentTourneys.size() && i < RecentTourneyCount; ++i)
        q->setValue(QString("F%1").arg(i), ToQ(s.RecentTourneys[i]));
    q->endGroup();
    q->sync();
    if (q->status() != QSettings::NoError)
        throw std::runtime_error("The settings could not be written.");
}

void TQtSettingsStore::SaveDefaultStartTables(const std::string& tables) {
    auto q = Open();
    q->setValue("Default Start Tables", ToQ(tables));
}

void TQtSettingsStore::SaveLastVersionInstalled(int build) {
    auto q = Open();
    q->setValue("Last Version Installed", build);
}

}  // namespace kestrova
