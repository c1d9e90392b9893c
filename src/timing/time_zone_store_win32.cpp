// The world clock's zones from the registry, as Windows keeps them.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "common/wide_text.h"
#include "timing/registry_time_zones.h"

namespace kestrova {

namespace {

// Registry key names are at most 255 characters.
constexpr DWORD KeyNameChars = 256;

class TKey {
  public:
    TKey() = default;
    ~TKey() {
        if (h_) ::RegCloseKey(h_);
    }
    TKey(const TKey&) = delete;
    TKey& operator=(const TKey&) = delete;
    LSTATUS Open(HKEY root, const std::wstring& path) {
        return ::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &h_);
    }
    HKEY Get() const { return h_; }

  private:
    HKEY h_ = nullptr;
};

[[noreturn]] void Fail(const std::string& key, LSTATUS status) {
    throw std::runtime_error("Can't read the registry key \"" + key + "\" (" +
                             SystemErrorText(static_cast<unsigned long>(status)) + ")");
}

// The value's bytes when it is of one of the types asked for; empty otherwise.
std::vector<BYTE> ValueBytes(HKEY key, const wchar_t* name, std::initializer_list<DWORD> types,
                             DWORD* typeOut = nullptr) {
    DWORD type = 0, size = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return {};
    if (std::find(types.begin(), types.end(), type) == types.end()) return {};
    std::vector<BYTE> bytes(size);
    if (size && ::RegQueryValueExW(key, name, nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS)
        return {};
    bytes.resize(size);
    if (typeOut) *typeOut = type;
    return bytes;
}

std::string StringValue(HKEY key, const wchar_t* name) {
    std::vector<BYTE> bytes = ValueBytes(key, name, {REG_SZ, REG_EXPAND_SZ});
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    if (!text.empty()) std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    // Up to the first zero: the stored value may or may not end in one.
    text.resize(std::wstring_view(text.c_str()).size());
    return Cp1252OfWide(text);
}

class TRegistryTimeZoneStore : public ITimeZoneStore {
  public:
    TRegistryTimeZoneStore(TRegistryRoot root, std::string keyPath)
        : root_(root == TRegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER),
          keyPath_(std::move(keyPath)) {}

    std::vector<std::string> KeyNames() override {
        TKey key;
        if (LSTATUS st = key.Open(root_, WideOf(keyPath_)); st != ERROR_SUCCESS) Fail(keyPath_, st);
        std::vector<std::string> names;
        for (DWORD i = 0;; ++i) {
            wchar_t name[KeyNameChars];
            DWORD chars = KeyNameChars;
            LSTATUS st = ::RegEnumKeyExW(key.Get(), i, name, &chars, nullptr, nullptr, nullptr,
                                         nullptr);
            if (st == ERROR_NO_MORE_ITEMS) break;
            if (st != ERROR_SUCCESS) Fail(keyPath_, st);
            names.push_back(Cp1252OfWide(std::wstring_view(name, chars)));
        }
        return names;
    }

    std::optional<TTimeZoneRecord> Find(const std::string& keyName) override {
        // An empty name would open the store's own key, a "\" one another key.
        if (keyName.empty() || keyName.find('\\') != std::string::npos) return std::nullopt;
        const std::string path = keyPath_ + "\\" + keyName;
        TKey key;
        LSTATUS st = key.Open(root_, WideOf(path));
        if (st == ERROR_FILE_NOT_FOUND || st == ERROR_PATH_NOT_FOUND) return std::nullopt;
        if (st != ERROR_SUCCESS) Fail(path, st);
        TTimeZoneRecord r;
        r.KeyName = keyName;
        r.Display = StringValue(key.Get(), L"Display");
        r.Dlt = StringValue(key.Get(), L"Dlt");
        r.Std = StringValue(key.Get(), L"Std");
        std::vector<BYTE> tzi = ValueBytes(key.Get(), L"TZI", {REG_BINARY});
        r.Tzi.assign(tzi.begin(), tzi.end());
        return r;
    }

    TLocalZoneInfo LocalZone() override {
        TIME_ZONE_INFORMATION tz{};
        const DWORD state = ::GetTimeZoneInformation(&tz);
        if (state == TIME_ZONE_ID_INVALID) return {};
        TLocalZoneInfo local;
        local.Bias = tz.Bias;
        local.StandardBias = tz.StandardBias;
        local.DaylightBias = tz.DaylightBias;
        local.State = state == TIME_ZONE_ID_STANDARD   ? TLocalZoneInfo::TState::Standard
                      : state == TIME_ZONE_ID_DAYLIGHT ? TLocalZoneInfo::TState::Daylight
                                                       : TLocalZoneInfo::TState::Unknown;
        return local;
    }

    std::pair<std::string, std::string> DefaultKeyNames() override {
        return {"Eastern Standard Time", "Pacific Standard Time"};
    }

  private:
    HKEY root_;
    std::string keyPath_;
};

}  // namespace

std::unique_ptr<ITimeZoneStore> MakeRegistryTimeZoneStore(TRegistryRoot root, std::string keyPath) {
    return std::make_unique<TRegistryTimeZoneStore>(root, std::move(keyPath));
}

}  // namespace kestrova
