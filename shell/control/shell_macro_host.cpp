#include "shell/control/shell_macro_host.h"

#include "macro/macro_key_events.h"

namespace zt {

void DeliverToShell(Shell& shell, const InjectedKey& key)
{
    const KeyEvent& k = key.Key;
    bool types = !k.Ctrl && !k.Alt && ((k.Key >= 'A' && k.Key <= 'Z') || (k.Key >= '0' && k.Key <= '9'));
    switch (key.What) {
    case InjectedKey::Kind::Press:
        shell.KeyDown(k);
        // A letter or digit key types itself, lower case without Shift.
        if (types)
            shell.KeyPress(k.Key >= 'A' && k.Key <= 'Z' && !k.Shift ? char(k.Key - 'A' + 'a') : char(k.Key));
        break;
    case InjectedKey::Kind::Release: shell.KeyUp(key.Key); break;
    case InjectedKey::Kind::Character: shell.KeyPress(key.Char); break;
    }
}

void ShellMacroHost::PlayKeys(const std::string& batch)
{
    PlayKeyBatch(injector_, batch);
    ProcessEvents();
}

void ShellMacroHost::ProcessEvents()
{
    if (Pump)
        Pump();
}

bool ShellMacroHost::WaitForKey(char& key) { return AwaitKey && AwaitKey(key); }

bool ShellMacroHost::InputText(const std::string& prompt, std::string& answer)
{
    return AskText && AskText(prompt, answer);
}

int ShellMacroHost::MenuChoice(const std::vector<std::string>& items, const std::vector<std::string>& hints,
                               const std::string& title)
{
    return AskMenu ? AskMenu(items, hints, title) : int(items.size()) + 1;
}

TRange ShellMacroHost::CursorCell() const
{
    const SheetWindow* w = shell_.Active();
    if (!w)
        return TRange{0, 0, 0, 0};
    const GridState& g = w->Pane();
    return g.CursorRange();
}

void ShellMacroHost::GoToCell(int row, int col, bool extend)
{
    if (SheetWindow* w = shell_.Active()) {
        if (!extend)
            w->Pane().ReleaseAnchor();
        w->Pane().GoToCell(row, col);
    }
}

void ShellMacroHost::SetAnchor(bool on)
{
    SheetWindow* w = shell_.Active();
    if (!w)
        return;
    if (on)
        w->Pane().SetAnchor();
    else
        w->Pane().CollapseSelection();
}

void ShellMacroHost::ShowStep(const std::string& caption) { shell_.ShowMacroStep(caption); }

void ShellMacroHost::MacroStateChanged(bool running) { shell_.SetMacroRunning(running); }

unsigned long long ShellMacroHost::TickCount() const
{
    return static_cast<unsigned long long>(clock_.Milliseconds());
}

void ShellMacroHost::Sleep(unsigned milliseconds)
{
    if (Wait)
        Wait(milliseconds);
}

}  // namespace zt
