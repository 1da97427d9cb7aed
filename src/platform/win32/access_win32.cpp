// Who may change a program: read from the security descriptors of the file and of every folder
// above it. Only rights that let someone swap what runs count: writing the program, putting a
// file beside it (a DLL it would load), taking the file or a folder above it away (deleting or
// renaming), and changing a descriptor or its owner. Creating a new folder somewhere above, as
// every user may at the root of a drive, changes nothing that runs.
#include "platform/win32/win32_platform.h"

#include <windows.h>
// After windows.h, whose types they use.
#include <aclapi.h>
#include <sddl.h>

namespace tov {

namespace {

// NT SERVICE\TrustedInstaller, which owns the system's own folders.
constexpr wchar_t kTrustedInstaller[] = L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

constexpr ACCESS_MASK kTakesAway = DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_ALL;
constexpr ACCESS_MASK kWritesTheFile = FILE_WRITE_DATA | FILE_APPEND_DATA | GENERIC_WRITE;
constexpr ACCESS_MASK kEmptiesTheFolder = FILE_DELETE_CHILD;
constexpr ACCESS_MASK kAddsBeside = FILE_ADD_FILE | GENERIC_WRITE;

enum class Place { Program, ProgramFolder, FolderAbove };

ACCESS_MASK DangerousRights(Place place) {
    switch (place) {
    case Place::Program:
        return kTakesAway | kWritesTheFile;
    case Place::ProgramFolder:
        return kTakesAway | kEmptiesTheFolder | kAddsBeside;
    case Place::FolderAbove:
        break;
    }
    return kTakesAway | kEmptiesTheFolder;
}

struct LocalTraits {
    static HLOCAL Invalid() { return nullptr; }
    static void Close(HLOCAL memory) { LocalFree(memory); }
};
using UniqueLocal = win32::Unique<HLOCAL, LocalTraits>;

bool IsAdministratorOrSystem(PSID sid) {
    if (IsWellKnownSid(sid, WinBuiltinAdministratorsSid) || IsWellKnownSid(sid, WinLocalSystemSid))
        return true;
    PSID installer = nullptr;
    if (!ConvertStringSidToSidW(kTrustedInstaller, &installer))
        return false;
    const UniqueLocal owned(installer);
    return EqualSid(sid, installer) != FALSE;
}

bool OnlyAdministratorsCanChangeEntry(const std::wstring& path, Place place) {
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT,
                              OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr, &dacl,
                              nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    const UniqueLocal owned(descriptor);
    // The owner may always rewrite the descriptor; no descriptor at all lets everyone in.
    if (!owner || !IsAdministratorOrSystem(owner) || !dacl)
        return false;
    const ACCESS_MASK dangerous = DangerousRights(place);
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* entry = nullptr;
        if (!GetAce(dacl, i, &entry))
            return false;
        const auto* header = static_cast<const ACE_HEADER*>(entry);
        if ((header->AceFlags & INHERIT_ONLY_ACE) != 0)
            continue; // applies to what is made inside, not to this
        // Denials only take rights away; granting kinds this does not read may grant anything.
        if (header->AceType == ACCESS_DENIED_ACE_TYPE || header->AceType == ACCESS_DENIED_CALLBACK_ACE_TYPE)
            continue;
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE && header->AceType != ACCESS_ALLOWED_CALLBACK_ACE_TYPE)
            return false;
        const auto* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
        PSID grantee = const_cast<DWORD*>(&allowed->SidStart);
        const bool ownerRights = IsWellKnownSid(grantee, WinCreatorOwnerRightsSid);
        if ((allowed->Mask & dangerous) != 0 && !ownerRights && !IsAdministratorOrSystem(grantee))
            return false;
    }
    return true;
}

// The folder above `path` ("C:\a" for "C:\a\b"), or empty at the root of a drive.
std::wstring FolderAbove(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash < 2)
        return {};
    return slash == 2 ? path.substr(0, 3) : path.substr(0, slash);
}

} // namespace

bool Win32Platform::OnlyAdministratorsCanChange(const std::string& path) {
    const std::wstring wide = win32::Wide(path);
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return false;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    // A drive letter's path only: what a share's server lets others do is not known here.
    if (length == 0 || length >= size || length < 3 || full[1] != L':' || full[2] != L'\\')
        return false;
    full.resize(length);
    Place place = Place::Program;
    for (std::wstring at = full; !at.empty(); at = at.size() > 3 ? FolderAbove(at) : std::wstring()) {
        if (!OnlyAdministratorsCanChangeEntry(at, place))
            return false;
        place = place == Place::Program ? Place::ProgramFolder : Place::FolderAbove;
    }
    return true;
}

} // namespace tov
