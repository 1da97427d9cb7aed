#include "platform/win32/win32_platform.h"

namespace tov {

Win32Platform::Win32Platform() = default;
Win32Platform::~Win32Platform() = default;

bool Win32Platform::InstallKeyboardHook(KeyHandler) { return false; }
bool Win32Platform::InstallMouseHook(MouseHandler) { return false; }
void Win32Platform::RemoveKeyboardHook() {}
void Win32Platform::RemoveMouseHook() {}
bool Win32Platform::RunOneMessage() { return false; }
void Win32Platform::PumpPendingMessages() {}
void Win32Platform::SetWakeHandler(std::function<void()>) {}
void Win32Platform::RequestWake() {}
void Win32Platform::RaisePriority() {}
std::string Win32Platform::TranslateKey(const KeyEvent&) { return {}; }
std::string Win32Platform::KeyName(std::uint32_t) { return {}; }
WindowHandle Win32Platform::ForegroundWindow() { return 0; }
std::string Win32Platform::WindowCaption(WindowHandle) { return {}; }
std::vector<WindowHandle> Win32Platform::TopLevelWindows() { return {}; }
WindowHandle Win32Platform::TopLevelWindowAt(Point) { return 0; }
bool Win32Platform::CreateFormWindow(Form&) { return false; }
void Win32Platform::DestroyFormWindow(Form&) {}
void Win32Platform::ShowForm(Form&) {}
void Win32Platform::HideForm(Form&) {}
void Win32Platform::PlaceForm(Form&) {}
void Win32Platform::UpdateForm(Form&) {}
void Win32Platform::MakeTopmost(Form&) {}
bool Win32Platform::SetLayeredOpacity(WindowHandle, int) { return false; }
Size Win32Platform::MeasureText(const Font&, std::string_view) { return {}; }
Size Win32Platform::ScreenSize() { return {}; }
PicturePtr Win32Platform::LoadResourcePicture(std::string_view) { return {}; }
PicturePtr Win32Platform::LoadPictureFile(const std::string&) { return {}; }
PicturePtr Win32Platform::ExtractFileIcon(const std::string&, int) { return {}; }
MessageBoxResult Win32Platform::ShowMessageBox(const std::string&, const std::string&, MessageBoxButtons) { return MessageBoxResult::Ok; }
void Win32Platform::ShellOpen(const std::string&, const std::string&, const std::string&, int) {}
std::string Win32Platform::SpecialFolder(int) { return {}; }
std::string Win32Platform::ProgramFolder() { return {}; }
std::optional<std::string> Win32Platform::ReadSetting(const std::string&, const std::string&, const std::string&) { return {}; }
void Win32Platform::WriteSetting(const std::string&, const std::string&, const std::string&, const std::string&) {}

} // namespace tov
