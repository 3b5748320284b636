#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QKeyEvent>
#include <QLocalSocket>
#include <QMimeData>
#include <QRegularExpression>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "platform/file_dialogs.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_key_injector.h"
#include "platform/qt/qt_keyboard_state.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_timer.h"
#include "platform/qt/single_instance_qt.h"

namespace zt {
namespace {

constexpr int kWaitMs = 3000;

struct SeenKey {
    QEvent::Type Type;
    int Key;
    Qt::KeyboardModifiers Mods;
    quint32 Vk;
    QString Text;
};

// A focusable widget that notes every key it receives.
class KeyRecorder : public QWidget {
public:
    KeyRecorder() { setFocusPolicy(Qt::StrongFocus); }
    std::vector<SeenKey> Seen;

protected:
    void keyPressEvent(QKeyEvent* e) override { Note(e); }
    void keyReleaseEvent(QKeyEvent* e) override { Note(e); }

private:
    void Note(QKeyEvent* e) { Seen.push_back({e->type(), e->key(), e->modifiers(), e->nativeVirtualKey(), e->text()}); }
};

// Two recorders in an active window, the first one focused.
struct TwoRecorders {
    QWidget window;
    KeyRecorder* first = new KeyRecorder;
    KeyRecorder* second = new KeyRecorder;

    TwoRecorders()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(first);
        layout->addWidget(second);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        first->setFocus();
    }
};

TEST(QtKeyInjector, KeyGoesToTheWidgetFocusedWhenItArrives)
{
    TwoRecorders w;
    QtKeyInjector keys;
    keys.PostChar('x');
    keys.PostKey({vkDown}, true);
    EXPECT_TRUE(keys.Pending());
    w.second->setFocus();  // the focus moves before the event loop runs
    EXPECT_TRUE(QTest::qWaitFor([&] { return !keys.Pending(); }, kWaitMs));
    EXPECT_TRUE(w.first->Seen.empty());
    ASSERT_EQ(w.second->Seen.size(), 3u);
    EXPECT_EQ(w.second->Seen[0].Type, QEvent::KeyPress);
    EXPECT_EQ(w.second->Seen[0].Key, Qt::Key_X);
    EXPECT_EQ(w.second->Seen[0].Text, QStringLiteral("x"));
    EXPECT_EQ(w.second->Seen[1].Type, QEvent::KeyRelease);
    EXPECT_EQ(w.second->Seen[2].Type, QEvent::KeyPress);
    EXPECT_EQ(w.second->Seen[2].Key, Qt::Key_Down);
    EXPECT_EQ(w.second->Seen[2].Vk, quint32(vkDown));
}

TEST(QtKeyInjector, KeysCarryModifiersTextAndTheProgramsKeyNumber)
{
    TwoRecorders w;
    QtKeyInjector keys;
    keys.PostKey({'A', true, false, false}, true);
    keys.PostKey({'A', false, true, false}, true);
    keys.PostKey({vkBigRight}, true);
    keys.PostChar('\xE9');  // e acute
    EXPECT_TRUE(QTest::qWaitFor([&] { return !keys.Pending(); }, kWaitMs));
    const auto& seen = w.first->Seen;
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[0].Key, Qt::Key_A);
    EXPECT_EQ(seen[0].Mods, Qt::ShiftModifier);
    EXPECT_EQ(seen[0].Text, QStringLiteral("A"));
    EXPECT_EQ(seen[1].Mods, Qt::ControlModifier);
    EXPECT_TRUE(seen[1].Text.isEmpty());
    EXPECT_EQ(seen[2].Key, Qt::Key_unknown);
    EXPECT_EQ(seen[2].Vk, quint32(vkBigRight));
    EXPECT_EQ(seen[3].Key, Qt::Key_Eacute);
    EXPECT_EQ(seen[3].Text, QString::fromUtf8("é"));
}

TEST(QtKeyboardState, ToggleKeysAndTypedLettersSetTheShadowState)
{
    TwoRecorders w;
    QtKeyboardState state;
    QTest::keyClick(w.first, Qt::Key_NumLock);
    QTest::keyClick(w.first, Qt::Key_Insert);
    EXPECT_TRUE(state.IsToggled(vkNumLock));
    EXPECT_TRUE(state.IsToggled(vkInsert));
    EXPECT_FALSE(state.IsToggled(vkCapital));
    // An upper-case letter typed without Shift shows Caps Lock is on.
    QTest::sendKeyEvent(QTest::Press, w.first, Qt::Key_Q, QStringLiteral("Q"), Qt::NoModifier);
    EXPECT_TRUE(state.IsToggled(vkCapital));
    QTest::sendKeyEvent(QTest::Press, w.first, Qt::Key_Q, QStringLiteral("Q"), Qt::ShiftModifier);
    EXPECT_FALSE(state.IsToggled(vkCapital));
    // A keypad key moving the cursor shows Num Lock is off.
    QTest::keyClick(w.first, Qt::Key_Home, Qt::KeypadModifier);
    EXPECT_FALSE(state.IsToggled(vkNumLock));
}

TEST(QtKeyboardState, InjectedLettersDoNotReadAsCapsLock)
{
    TwoRecorders w;
    QtKeyboardState state;
    QtKeyInjector keys;
    keys.PostChar('Q');
    keys.PostKey({vkScroll}, true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !keys.Pending(); }, kWaitMs));
    EXPECT_FALSE(state.IsToggled(vkCapital));
    EXPECT_TRUE(state.IsToggled(vkScroll));
}

TEST(QtClipboard, BothRenderingsRoundTrip)
{
    QtClipboard clip;
    std::string cells("A1\0'Caf\xE9\xFF", 10);
    clip.SetData(cells, "Caf\xE9\t\x80 5");
    EXPECT_TRUE(clip.HasText());
    EXPECT_EQ(clip.PrivateText(), cells);
    EXPECT_EQ(clip.PlainText(), "Caf\xE9\t\x80 5");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("Café\t€ 5"));
}

TEST(QtClipboard, TextOfOtherProgramsComesInPlain)
{
    QGuiApplication::clipboard()->setText(QString::fromUtf8("5 \xE2\x82\xAA and \xE2\x82\xAC"));  // sheqel, euro
    QtClipboard clip;
    EXPECT_TRUE(clip.HasText());
    EXPECT_EQ(clip.PrivateText(), "");
    EXPECT_EQ(clip.PlainText(), "5 ? and \x80");
}

TEST(QtFilterForm, PatternsMatchNamesInAnyCase)
{
    QString filter = ToQString(QtFilterFromProgramFilter("Worksheets (*.wks,*.wk1)|*.wks;*.wk1|Save|*.Wk?"));
    QStringList filters = filter.split(QStringLiteral(";;"));
    ASSERT_EQ(filters.size(), 2);
    auto matches = [](const QString& filter, const QString& name) {
        QString patterns = filter.mid(filter.lastIndexOf('(') + 1).chopped(1);
        for (const QString& p : patterns.split(' '))
            if (QRegularExpression::fromWildcard(p, Qt::CaseSensitive).match(name).hasMatch())
                return true;
        return false;
    };
    EXPECT_TRUE(matches(filters[0], QStringLiteral("BUDGET.WKS")));
    EXPECT_TRUE(matches(filters[0], QStringLiteral("budget.Wk1")));
    EXPECT_FALSE(matches(filters[0], QStringLiteral("budget.wkb")));
    EXPECT_TRUE(matches(filters[1], QStringLiteral("budget.wKB")));
    EXPECT_FALSE(matches(filters[1], QStringLiteral("budget.txt")));
}

TEST(QtTimer, FiresOnceOrRepeatedly)
{
    QtTimer once;
    int onceFired = 0;
    once.Start(5, TimerMode::OneShot, [&] { ++onceFired; });
    QtTimer repeated;
    int repeats = 0;
    repeated.Start(5, TimerMode::Periodic, [&] {
        if (++repeats == 3)
            repeated.Stop();
    });
    EXPECT_TRUE(once.IsActive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return repeats == 3; }, kWaitMs));
    QTest::qWait(30);
    EXPECT_EQ(onceFired, 1);
    EXPECT_EQ(repeats, 3);
    EXPECT_FALSE(once.IsActive());
    EXPECT_FALSE(repeated.IsActive());
}

QString UniqueName(const char* what)
{
    return QStringLiteral("zentab-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(QLatin1String(what));
}

struct Heard {
    int Activations = 0;
    std::vector<std::pair<int, int>> Macros;
};

void Listen(QtSingleInstance& primary, Heard& heard)
{
    primary.OnActivate([&] { ++heard.Activations; });
    primary.OnRunMacro([&](int column, int row) { heard.Macros.emplace_back(column, row); });
}

TEST(QtSingleInstance, SecondStartIsRefusedAndHandsOverItsMacro)
{
    QString name = UniqueName("handover");
    QtSingleInstance first(name);
    Heard heard;
    Listen(first, heard);
    ASSERT_TRUE(first.BecomePrimary());

    QtSingleInstance second(name);
    EXPECT_FALSE(second.BecomePrimary());
    InstanceMessage macro;
    macro.What = InstanceMessage::Kind::RunMacro;
    macro.Column = 3;
    macro.Row = 7;
    ASSERT_TRUE(second.Send(macro));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !heard.Macros.empty(); }, kWaitMs));
    EXPECT_EQ(heard.Macros, (std::vector<std::pair<int, int>>{{3, 7}}));
    EXPECT_EQ(heard.Activations, 0);
}

TEST(QtSingleInstance, MalformedMessagesAreIgnored)
{
    QString name = UniqueName("garbage");
    QtSingleInstance primary(name);
    Heard heard;
    Listen(primary, heard);
    ASSERT_TRUE(primary.BecomePrimary());

    QLocalSocket sender;
    sender.connectToServer(name);
    ASSERT_TRUE(sender.waitForConnected(kWaitMs));
    sender.write("MACRO 256,7\nMACRO 3,8192\nhello\nMACRO 3;7\nACTIVATE\n");
    sender.flush();
    // The activation after the bad lines shows they were all read.
    ASSERT_TRUE(QTest::qWaitFor([&] { return heard.Activations == 1; }, kWaitMs));
    EXPECT_TRUE(heard.Macros.empty());

    QLocalSocket flood;
    flood.connectToServer(name);
    ASSERT_TRUE(flood.waitForConnected(kWaitMs));
    flood.write(QByteArray(4096, 'x') + "\nMACRO 1,1\n");
    flood.flush();
    QTest::qWait(100);
    EXPECT_TRUE(heard.Macros.empty());
}

TEST(QtSingleInstance, SocketLeftByACrashDoesNotBlockTheNextStart)
{
    QString name = UniqueName("stale");
    QByteArray path = QDir(QDir::tempPath()).filePath(name).toLocal8Bit();
    // A socket file that nobody listens on, as a killed instance leaves it.
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    ASSERT_LT(static_cast<size_t>(path.size()), sizeof addr.sun_path);
    std::memcpy(addr.sun_path, path.constData(), static_cast<size_t>(path.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);

    QtSingleInstance next(name);
    Heard heard;
    Listen(next, heard);
    ASSERT_TRUE(next.BecomePrimary());
    QtSingleInstance later(name);
    EXPECT_FALSE(later.BecomePrimary());
    ASSERT_TRUE(later.Send({}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return heard.Activations == 1; }, kWaitMs));
}

}  // namespace
}  // namespace zt
