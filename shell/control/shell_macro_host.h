#pragma once
#include <functional>
#include <string>
#include <vector>

#include "macro/macro_host.h"
#include "platform/clock.h"
#include "platform/key_injector.h"
#include "shell/control/shell.h"

namespace zt {

// The macro interpreter's view of the program: keystrokes go through the
// key injector to whatever has the keyboard, exactly as typed keys; the
// waits, dialogs and clock are the window's (or a script's in batch mode).
class ShellMacroHost : public MacroHost {
public:
    ShellMacroHost(Shell& shell, KeyInjector& injector, const Clock& clock)
        : shell_(shell), injector_(injector), clock_(clock)
    {
    }

    // How posted keys get delivered: the window's event loop, or a drain of
    // the headless queue into the shell. Also runs other pending events.
    std::function<void()> Pump;
    // Waits until the shell hands over a key for the macro; false when none can come.
    std::function<bool(char&)> AwaitKey;
    std::function<bool(const std::string& prompt, std::string& answer)> AskText;
    std::function<int(const std::vector<std::string>&, const std::vector<std::string>&, const std::string&)> AskMenu;
    std::function<void(unsigned)> Wait;

    void PlayKeys(const std::string& batch) override;
    void ProcessEvents() override;
    bool WaitForKey(char& key) override;
    bool InputText(const std::string& prompt, std::string& answer) override;
    int MenuChoice(const std::vector<std::string>& items, const std::vector<std::string>& hints,
                   const std::string& title) override;
    TRange CursorCell() const override;
    void GoToCell(int row, int col, bool extend) override;
    void SetAnchor(bool on) override;
    void ShowStep(const std::string& caption) override;
    void MacroStateChanged(bool running) override;
    unsigned long long TickCount() const override;
    void Sleep(unsigned milliseconds) override;
    Clipboard* MacroClipboard() override { return shell_.Clip(); }

private:
    Shell& shell_;
    KeyInjector& injector_;
    const Clock& clock_;
};

// Delivers one posted key to the shell as the window would: a letter or
// digit key going down also types its character.
void DeliverToShell(Shell& shell, const InjectedKey& key);

}  // namespace zt
