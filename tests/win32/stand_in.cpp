#include "win32/stand_in.h"

#include <fstream>
#include <sstream>

#include "common/cp1252.h"
#include "common/file_util.h"
#include "common/wide_text.h"

namespace kestrova::testing {

namespace {

// One argument quoted as CommandLineToArgvW reads it back.
std::wstring Quoted(const std::wstring& arg) {
    std::wstring out = L"\"";
    size_t slashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        out.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
        slashes = 0;
        out += c;
    }
    out.append(slashes * 2, L'\\');
    return out + L"\"";
}

std::wstring BesideThisProgram(const wchar_t* name) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

}  // namespace

TStandIn::TStandIn(const std::vector<std::string>& scene) {
    static LONG counter = 0;
    prefix_ = L"Local\\KestrovaStandIn-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
              std::to_wstring(::InterlockedIncrement(&counter));
    std::optional<std::string> folder = MakeTempFolder("kestrova-stand-in-");
    if (!folder) return;
    record_ = WideOf(*folder + "\\received.txt");
    ready_h_ = Make("-ready");
    quit_ = Make("-quit");
    release_ = Make("-release");
    released_ = Make("-released");
    line_ = Make("-line", true);
    std::wstring command = Quoted(BesideThisProgram(L"zone_stand_in.exe")) + L" " +
                           Quoted(prefix_) + L" " + Quoted(record_);
    for (const std::string& arg : scene) command += L" " + Quoted(WideOf(arg));
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &process_))
        return;
    // Ready, or the stand-in gave up (ended) first.
    HANDLE either[2] = {ready_h_, process_.hProcess};
    ready_ = ::WaitForMultipleObjects(2, either, FALSE, StandInBoundMs) == WAIT_OBJECT_0;
}

TStandIn::~TStandIn() {
    if (process_.hProcess) {
        ::SetEvent(quit_);
        if (::WaitForSingleObject(process_.hProcess, StandInBoundMs) != WAIT_OBJECT_0) Kill();
        ::CloseHandle(process_.hProcess);
        ::CloseHandle(process_.hThread);
    }
    for (HANDLE h : objects_) ::CloseHandle(h);
    if (!record_.empty()) {
        ::DeleteFileW(record_.c_str());
        ::RemoveDirectoryW(record_.substr(0, record_.find_last_of(L'\\')).c_str());
    }
}

HANDLE TStandIn::Make(const char* suffix, bool semaphore) {
    const std::wstring name = prefix_ + WideOf(suffix);
    HANDLE h = semaphore ? ::CreateSemaphoreW(nullptr, 0, 1 << 20, name.c_str())
                         : ::CreateEventW(nullptr, TRUE, FALSE, name.c_str());
    objects_.push_back(h);
    return h;
}

std::vector<TReceived> TStandIn::WaitForLines(size_t count) {
    HANDLE either[2] = {line_, process_.hProcess};
    while (seen_ < count &&
           ::WaitForMultipleObjects(2, either, FALSE, StandInBoundMs) == WAIT_OBJECT_0)
        ++seen_;
    return Received();
}

std::vector<TReceived> TStandIn::Received() const {
    std::vector<TReceived> lines;
    std::optional<std::string> bytes = ReadFileIfExists(Cp1252OfWide(record_));
    std::istringstream in(bytes.value_or(""));
    for (std::string line; std::getline(in, line);) {
        const size_t a = line.find('|'), b = line.find('|', a + 1);
        if (b == std::string::npos) continue;
        lines.push_back({Utf8ToCp1252(line.substr(0, a)), line.substr(a + 1, b - a - 1),
                         Utf8ToCp1252(line.substr(b + 1))});
    }
    return lines;
}

bool TStandIn::Release() {
    ::ResetEvent(released_);
    ::SetEvent(release_);
    HANDLE either[2] = {released_, process_.hProcess};
    return ::WaitForMultipleObjects(2, either, FALSE, StandInBoundMs) == WAIT_OBJECT_0;
}

void TStandIn::Kill() {
    ::TerminateProcess(process_.hProcess, 1);
    ::WaitForSingleObject(process_.hProcess, StandInBoundMs);
}

}  // namespace kestrova::testing
