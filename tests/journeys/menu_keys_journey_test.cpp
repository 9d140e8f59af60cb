// The menus as a person reads and types them: every item's key shown once
// beside it, menus no wider than their texts, and in each menu one item
// per underlined letter, so that Alt and the letters reach every item.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include "app/main_frame.h"
#include "records/command_ids.h"
#include "journey_fixture.h"

namespace {

// The letter after a single ampersand, lower case; 0 when none.
QChar Mnemonic(const QString& text)
{
    const QString label = text.section('\t', 0, 0);
    for (qsizetype i = 0; i + 1 < label.size(); ++i) {
        if (label[i] != '&')
            continue;
        if (label[i + 1] == '&') {
            ++i;
            continue;
        }
        return label[i + 1].toLower();
    }
    return QChar();
}

// The key the menu draws at the item's right: its shortcut; a key typed
// into the text after a tab would stand there instead.
QString ShownKeys(const QAction* action)
{
    const QString text = action->text();
    if (text.contains('\t'))
        return text.section('\t', 1);
    return action->shortcut().toString(QKeySequence::NativeText);
}

class MenuKeysJourney : public JourneyTest {
protected:
    // Opens every menu of the menu bar shown now, and each submenu, and
    // notes where two items of one menu share a letter and where an item
    // with a key does not show it.
    void CheckMenus(const QString& where)
    {
        for (QAction* top : MainWindow()->menuBar()->actions()) {
            if (top->isVisible() && top->menu())
                CheckMenu(top->menu(), where + ": " + top->text().remove('&'));
        }
        EXPECT_TRUE(faults_.isEmpty()) << faults_.join("\n").toStdString();
        faults_.clear();
    }

    void CheckMenu(QMenu* menu, const QString& path)
    {
        Q_EMIT menu->aboutToShow();
        QHash<QChar, QString> letters;
        for (QAction* action : menu->actions()) {
            if (action->isSeparator() || !action->isVisible())
                continue;
            const QString text = action->text();
            const QChar letter = Mnemonic(text);
            if (!letter.isNull()) {
                if (letters.contains(letter))
                    faults_ << path + ": \"" + letters[letter] + "\" and \"" + text + "\" share " + letter;
                letters.insert(letter, text);
            }
            if (!action->shortcut().isEmpty()) {
                const QString keys = action->shortcut().toString(QKeySequence::PortableText);
                if (ShownKeys(action) != keys)
                    faults_ << path + ": \"" + text + "\" should show " + keys;
            }
            // The key comes from the shortcut alone, never typed in.
            if (text.contains('\t'))
                faults_ << path + ": \"" + text + "\" has its key in its text";
            if (action->menu())
                CheckMenu(action->menu(), path + " > " + QString(text).remove(QChar('&')));
        }
        // Wide enough for its longest item and its key, not for the screen.
        if (menu->sizeHint().width() > 480)
            faults_ << path + " is " + QString::number(menu->sizeHint().width()) + " pixels wide";
    }

    QStringList faults_;
};

TEST_F(MenuKeysJourney, EveryMenuShowsEachKeyOnceAndHasOneItemPerLetter)
{
    CheckMenus("no document");

    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    // The undo item names what it undoes, and keeps one key text however
    // often the menu opens.
    for (int i = 0; i < 3; ++i)
        CheckMenus("card");
    ASSERT_NE(Action(kCmdEditUndo), nullptr);
    EXPECT_EQ(ShownKeys(Action(kCmdEditUndo)).toStdString(), "Ctrl+Z");
    // The context menus of the empty card and of its star show the same
    // keys as the menu bar.
    for (const QPoint at : {CardPoint(215, 75), CardPoint(34, 34)}) {
        OnNextMenu([this](QMenu* menu) {
            CheckMenu(menu, "context menu");
            Dismiss()(menu);
        });
        RightClick(at);
        EXPECT_TRUE(faults_.isEmpty()) << faults_.join("\n").toStdString();
        faults_.clear();
    }

    OnNextDialog(ChooseFile(CopySample("Contacts.dqx")));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    for (int i = 0; i < 3; ++i)
        CheckMenus("database");
    EXPECT_EQ(ShownKeys(Action(kCmdEditUndo)).toStdString(), "Ctrl+Z");
}

}  // namespace
