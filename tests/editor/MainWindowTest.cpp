// The main window's rules on its real widgets, over a real trigger database.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QUrl>

#include <fstream>

#include "editing/TypePages.h"
#include "editor/ApplicationListsPage.h"
#include "editor/ImagePage.h"
#include "editor/KeyBufferView.h"
#include "editor/LaunchPage.h"
#include "editor/MainWindowFixture.h"
#include "editor/ModalDialogs.h"
#include "editor/NewTriggerPage.h"
#include "editor/RichTextBox.h"
#include "editor/RichTextPage.h"
#include "editor/SortedListBox.h"
#include "editor/TextPage.h"
#include "editor/TypeComboBox.h"
#include "editor/frmSplash.h"
#include "store/StoreStatements.h"
#include "support/TriggerDatabase.h"

namespace tavro::test {

namespace {

QString Q(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

// Launch "Calculator" loads into slot 0, then the "Text" triggers by name.
std::vector<TriggerRecord> ThreeTriggers() {
    TriggerRecord calculator = MakeTrigger(u"calc", u"Calculator", u"Launch");
    calculator.CommandLine = u"gnome-calculator";
    return {MakeTrigger(u"sig", u"Signature", u"Text", u"Best regards"),
            MakeTrigger(u"addr", u"Address", u"Text", u"1 Main Street"), calculator};
}

QAction& Menu(frmTavro& form, const char* name) {
    return *form.findChild<QAction*>(QString::fromLatin1(name));
}

void Drop(QWidget& target, QMimeData& data) {
    const QPoint middle = target.rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    QDropEvent drop(QPointF(middle), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QuietAboutRaising(); }
    void ListLinesShowTheirTriggersAlsoWhenEqualOrWithoutName();
    void FieldEditsGoToTheSlotAndTheListChangesOnlyAfterASave();
    void LeavingATriggerSavesItsEdits();
    void NewTriggerStopsAtTwentyAndIsSavedOnlyWithATriggerText();
    void NewTriggerWhileModifiedSavesFirstAndKeepsTheNewSlot();
    void CancelNewTriggerDropsOnlyTheNewSlot();
    void DeleteActsOnlyFromTheListAndAfterConfirmation();
    void TheTypeBoxTakesOnlyItsLetters();
    void AlternateAndBackSwitchBetweenTheTextAndTheTypePage();
    void InsertDateAndTimeGoToTheCaretAndPasteReplacesTheText();
    void DropsOnTheCommandLine();
    void TheProgramDialogOffersExecutablesAndCancelChangesNothing();
    void TheApplicationListPageAddsAndDeletes();
    void ActivationKeepsPendingEditsAndReloadsOtherwise();
    void ExitSavesPendingEditsAndAsksWhenTheSaveFails();
    void HidingAndMinimisingDisableTheFieldsAndOpeningEnablesThem();
    void TheKeyViewIsLiveAndFiringLeavesPendingEditsPending();
    void TheWindowTokensOpenTheWindow();
    void HelpOpensThePageOfTheFocusedControl();
    void TheSplashClosesItselfAndAboutStays();
};

void MainWindowTest::ListLinesShowTheirTriggersAlsoWhenEqualOrWithoutName() {
    MainWindowFixture window({MakeTrigger(u"dup", u"Twin", u"Text", u"first"),
                              MakeTrigger(u"dup", u"Twin", u"Text", u"second"),
                              MakeTrigger(u"anon", u"", u"Text", u"nameless"),
                              MakeTrigger(u"zz", u"Last", u"Text", u"last")});
    QCOMPARE(window.ListLines(),
             (std::vector<std::u16string>{u"anon - ", u"dup - Twin", u"dup - Twin", u"zz - Last"}));
    QPlainTextEdit& text = *window.form.textPage->txtReplaceText;
    auto& list = *window.form.lstTriggers;

    window.ClickLine(list, 0);
    QCOMPARE(text.toPlainText(), QStringLiteral("nameless"));
    QCOMPARE(window.form.txtTrigger->text(), QStringLiteral("anon"));

    // Each of the two equal lines reaches a trigger of its own.
    window.ClickLine(list, 1);
    const QString viaFirstLine = text.toPlainText();
    window.ClickLine(list, 2);
    const QString viaSecondLine = text.toPlainText();
    QVERIFY(viaFirstLine != viaSecondLine);
    QVERIFY(viaFirstLine == QStringLiteral("first") || viaFirstLine == QStringLiteral("second"));
    QCOMPARE(list.currentRow(), 2);

    window.ClickLine(list, 3);
    QCOMPARE(text.toPlainText(), QStringLiteral("last"));
    window.ClickLine(list, 1);
    QCOMPARE(text.toPlainText(), viaFirstLine);
}

void MainWindowTest::FieldEditsGoToTheSlotAndTheListChangesOnlyAfterASave() {
    MainWindowFixture window(ThreeTriggers());
    window.ClickLine(*window.form.lstTriggers, 2);  // sig - Signature
    QCOMPARE(window.triggers.CurrentTrigger, 2);
    QVERIFY(!window.triggers.TriggersDirty);

    window.form.txtDisplay->selectAll();
    QTest::keyClicks(window.form.txtDisplay, QStringLiteral("A signature"));
    QCOMPARE(Q(window.triggers.Slot(2).Display), QStringLiteral("A signature"));
    QVERIFY(window.triggers.TriggersDirty);
    QVERIFY(window.ListLines()[2] == u"sig - Signature");
    QCOMPARE(window.Stored()[2].Display, std::u16string(u"Signature"));

    // Saved, it sorts before "Address": in slot 1 now, and still shown.
    QTest::keySequence(window.form.txtDisplay, QKeySequence(Qt::CTRL | Qt::Key_S));
    QVERIFY(!window.triggers.TriggersDirty);
    QVERIFY(
        (window.ListLines() == std::vector<std::u16string>{u"addr - Address", u"calc - Calculator",
                                                           u"sig - A signature"}));
    QCOMPARE(window.Stored()[1].Display, std::u16string(u"A signature"));
    QCOMPARE(window.platform.desktop.shownTrayEntries,
             (std::vector<std::u16string>{u"Calculator - Launch", u"-", u"A signature - Text",
                                          u"Address - Text"}));
    QCOMPARE(Q(window.triggers.Slot(1).Display), QStringLiteral("A signature"));
    QCOMPARE(window.triggers.CurrentTrigger, 1);
    QCOMPARE(window.form.txtTrigger->text(), QStringLiteral("sig"));
    QCOMPARE(window.form.textPage->txtReplaceText->toPlainText(), QStringLiteral("Best regards"));
    QCOMPARE(window.form.lstTriggers->currentItem()->text(), QStringLiteral("sig - A signature"));
}

void MainWindowTest::LeavingATriggerSavesItsEdits() {
    MainWindowFixture window(ThreeTriggers());
    window.ClickLine(*window.form.lstTriggers, 0);  // addr - Address
    QPlainTextEdit& text = *window.form.textPage->txtReplaceText;
    text.moveCursor(QTextCursor::End);
    QTest::keyClick(&text, Qt::Key_Return);
    QTest::keyClicks(&text, QStringLiteral("Springfield"));
    QCOMPARE(Q(window.triggers.Slot(1).ReplaceText),
             QStringLiteral("1 Main Street\r\nSpringfield"));

    window.ClickLine(*window.form.lstTriggers, 2);  // sig - Signature
    QVERIFY(!window.triggers.TriggersDirty);
    QCOMPARE(window.Stored()[1].ReplaceText, std::u16string(u"1 Main Street\r\nSpringfield"));
    QCOMPARE(text.toPlainText(), QStringLiteral("Best regards"));
    QCOMPARE(window.form.txtDisplay->text(), QStringLiteral("Signature"));
}

void MainWindowTest::NewTriggerStopsAtTwentyAndIsSavedOnlyWithATriggerText() {
    std::vector<TriggerRecord> nineteen;
    for (int i = 0; i < 19; ++i) {
        nineteen.push_back(MakeTrigger(u"t" + std::u16string(1, char16_t(u'a' + i)),
                                       u"Trigger " + std::u16string(1, char16_t(u'a' + i)), u"Text",
                                       u"x"));
    }
    MainWindowFixture window(nineteen);
    Menu(window.form, "mnuNewTrigger").trigger();
    QCOMPARE(window.triggers.TriggerCount, 20);
    QCOMPARE(window.triggers.CurrentTrigger, 19);
    QCOMPARE(window.form.SSTab1->currentIndex(), kNewTriggerPage);
    QVERIFY(window.form.txtTrigger->hasFocus());
    QVERIFY(window.form.txtTrigger->text().isEmpty());
    QVERIFY(window.form.cboType->currentText().isEmpty());

    QTest::keyClicks(window.form.txtTrigger, QStringLiteral("new"));
    QTest::keyClicks(window.form.txtDisplay, QStringLiteral("The new one"));
    Menu(window.form, "mnuNewTrigger").trigger();
    QCOMPARE(
        window.Calls("MessageBox"),
        (std::vector<std::string>{
            R"(MessageBox("You cannot add any more triggers.","Cannot add anymore",Exclamation))"}));
    QCOMPARE(window.triggers.TriggerCount, 20);

    Menu(window.form, "mnuSave").trigger();
    QCOMPARE(window.Stored().size(), std::size_t{20});
    QCOMPARE(window.form.txtDisplay->text(), QStringLiteral("The new one"));
}

void MainWindowTest::NewTriggerWhileModifiedSavesFirstAndKeepsTheNewSlot() {
    MainWindowFixture window(ThreeTriggers());
    window.ClickLine(*window.form.lstTriggers, 0);
    window.form.txtDisplay->selectAll();
    QTest::keyClicks(window.form.txtDisplay, QStringLiteral("Zuhause"));
    QTest::keySequence(window.form.txtDisplay, QKeySequence(Qt::CTRL | Qt::Key_N));

    QCOMPARE(window.Stored()[2].Display, std::u16string(u"Zuhause"));  // saved and resorted
    QCOMPARE(window.triggers.TriggerCount, 4);
    QCOMPARE(window.triggers.CurrentTrigger, 3);
    QTest::keyClicks(window.form.txtTrigger, QStringLiteral("hi"));
    QTest::keyClicks(window.form.txtDisplay, QStringLiteral("Hello"));
    QTest::keyClick(window.form.cboType, Qt::Key_T);
    QTest::keyClicks(window.form.textPage->txtReplaceText, QStringLiteral("Hello there"));

    // Coming back to the window from one of its dialogs drops nothing.
    window.main.Lifecycle().Form_Activate();
    QCOMPARE(window.triggers.TriggerCount, 4);
    Menu(window.form, "mnuSave").trigger();
    const std::vector<TriggerRecord> stored = window.Stored();
    QCOMPARE(stored.size(), std::size_t{4});
    QCOMPARE(stored[1].Display, std::u16string(u"Hello"));
    QCOMPARE(stored[1].ReplaceText, std::u16string(u"Hello there"));
    QCOMPARE(window.form.txtTrigger->text(), QStringLiteral("hi"));
}

void MainWindowTest::CancelNewTriggerDropsOnlyTheNewSlot() {
    std::vector<TriggerRecord> triggers = ThreeTriggers();
    triggers.push_back(MakeTrigger(u"odd", u"Odd one", u"Morse", u"... ---"));
    MainWindowFixture window(triggers);
    QPushButton& cancel = *window.form.newTriggerPage->cmdCancelNewTrigger;

    Menu(window.form, "mnuNewTrigger").trigger();
    QTest::keyClicks(window.form.txtTrigger, QStringLiteral("gone"));
    cancel.click();
    QCOMPARE(window.triggers.TriggerCount, 4);
    QCOMPARE(window.triggers.CurrentTrigger, 3);
    QCOMPARE(window.form.txtTrigger->text(), QStringLiteral("sig"));
    QCOMPARE(window.Stored().size(), std::size_t{4});

    // A saved trigger of an unknown type shows the same page; Cancel leaves it.
    window.ClickLine(*window.form.lstTriggers, 2);  // odd - Odd one
    QCOMPARE(window.form.cboType->currentText(), QStringLiteral("Morse"));
    QCOMPARE(window.form.SSTab1->currentIndex(), kTextPage);  // left as it was
    window.form.SSTab1->setCurrentIndex(kNewTriggerPage);
    cancel.click();
    QCOMPARE(window.triggers.TriggerCount, 4);
    QCOMPARE(window.form.txtTrigger->text(), QStringLiteral("odd"));

    // A later New Trigger starts empty; one left untouched is taken again.
    Menu(window.form, "mnuNewTrigger").trigger();
    QVERIFY(window.form.txtTrigger->text().isEmpty());
    window.ClickLine(*window.form.lstTriggers, 0);
    Menu(window.form, "mnuNewTrigger").trigger();
    QCOMPARE(window.triggers.TriggerCount, 5);
    QCOMPARE(window.triggers.CurrentTrigger, 4);
}

void MainWindowTest::DeleteActsOnlyFromTheListAndAfterConfirmation() {
    MainWindowFixture window(ThreeTriggers());
    window.ClickLine(*window.form.lstTriggers, 1);  // calc - Calculator
    window.form.txtDisplay->setFocus();
    QTest::keyClick(window.form.txtDisplay, Qt::Key_End);
    QTest::keyClick(window.form.txtDisplay, Qt::Key_Delete);
    QVERIFY(window.Calls("Question").empty());
    QCOMPARE(window.Stored().size(), std::size_t{3});

    window.form.lstTriggers->setFocus();
    window.platform.desktop.questionAnswer = false;
    QTest::keyClick(window.form.lstTriggers, Qt::Key_Delete);
    QCOMPARE(window.Calls("Question"),
             (std::vector<std::string>{
                 R"(Question("Do you want to delete this trigger?","Confirm deletion",))"}));
    QCOMPARE(window.Stored().size(), std::size_t{3});

    window.platform.desktop.questionAnswer = true;
    QTest::keyClick(window.form.lstTriggers, Qt::Key_Delete);
    QVERIFY(
        (window.ListLines() == std::vector<std::u16string>{u"addr - Address", u"sig - Signature"}));
    QCOMPARE(window.Stored().size(), std::size_t{2});
    QCOMPARE(window.triggers.TriggerCount, 2);
    QVERIFY(window.form.txtTrigger->text() != QStringLiteral("calc"));
}

void MainWindowTest::TheTypeBoxTakesOnlyItsLetters() {
    MainWindowFixture window(ThreeTriggers());
    window.ClickLine(*window.form.lstTriggers, 2);  // sig, a Text trigger
    TypeComboBox& type = *window.form.cboType;
    type.setFocus();
    QTest::keyClicks(&type, QStringLiteral("x5 "));
    QTest::keyClick(&type, Qt::Key_Backspace);
    QTest::keyClick(&type, Qt::Key_Delete);
    QCOMPARE(type.currentText(), QStringLiteral("Text"));
    QVERIFY(!window.triggers.TriggersDirty);

    QTest::keyClick(&type, Qt::Key_R, Qt::NoModifier);
    QCOMPARE(type.currentText(), QStringLiteral("RTF"));
    QCOMPARE(window.form.SSTab1->currentIndex(), kRichTextPage);
    QCOMPARE(Q(window.triggers.Slot(2).Type), QStringLiteral("RTF"));
    QVERIFY(type.lineEdit()->hasSelectedText());
    QVERIFY(!window.form.textPage->cmdBack->isHidden());

    QTest::keyClicks(&type, QStringLiteral("i"));
    QCOMPARE(window.form.SSTab1->currentIndex(), kImagePage);
    QTest::keyClicks(&type, QStringLiteral("L"));
    QCOMPARE(window.form.SSTab1->currentIndex(), kLaunchPage);
    QCOMPARE(Q(window.triggers.Slot(2).Type), QStringLiteral("Launch"));
    QTest::keyClicks(&type, QStringLiteral("t"));
    QCOMPARE(window.form.SSTab1->currentIndex(), kTextPage);
    QVERIFY(window.form.textPage->cmdBack->isHidden());

    // Choosing the empty line stores an empty type and keeps the page.
    type.setCurrentIndex(4);
    emit type.activated(4);
    QCOMPARE(Q(window.triggers.Slot(2).Type), QString());
    QCOMPARE(window.form.SSTab1->currentIndex(), kTextPage);
}

void MainWindowTest::AlternateAndBackSwitchBetweenTheTextAndTheTypePage() {
    TriggerRecord logo = MakeTrigger(u"logo", u"Logo", u"Image", u"[logo]");
    MainWindowFixture window({logo, MakeTrigger(u"sig", u"Signature", u"Text", u"Regards")});
    window.ClickLine(*window.form.lstTriggers, 0);  // logo
    QCOMPARE(window.form.SSTab1->currentIndex(), kImagePage);
    window.form.imagePage->cmdAlternateTextImg->click();
    QCOMPARE(window.form.SSTab1->currentIndex(), kTextPage);
    QVERIFY(!window.form.textPage->cmdBack->isHidden());
    QCOMPARE(window.form.textPage->txtReplaceText->toPlainText(), QStringLiteral("[logo]"));
    window.form.textPage->cmdBack->click();
    QCOMPARE(window.form.SSTab1->currentIndex(), kImagePage);

    window.ClickLine(*window.form.lstTriggers, 1);  // sig
    QVERIFY(window.form.textPage->cmdBack->isHidden());
}

void MainWindowTest::InsertDateAndTimeGoToTheCaretAndPasteReplacesTheText() {
    MainWindowFixture window({MakeTrigger(u"hw", u"Hello", u"Text", u"Hello World")});
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    QPlainTextEdit& text = *window.form.textPage->txtReplaceText;
    QTextCursor caret = text.textCursor();
    caret.setPosition(6);
    caret.setPosition(11, QTextCursor::KeepAnchor);  // "World" selected
    text.setTextCursor(caret);

    window.form.textPage->cmdInsertDate->click();
    QCOMPARE(text.toPlainText(), QStringLiteral("Hello %date%World"));
    QVERIFY(text.hasFocus());
    text.moveCursor(QTextCursor::End);
    window.form.textPage->cmdInsertTime->click();
    QCOMPARE(text.toPlainText(), QStringLiteral("Hello %date%World%time%"));
    QCOMPARE(Q(window.triggers.Slot(0).ReplaceText), QStringLiteral("Hello %date%World%time%"));
    QVERIFY(window.triggers.TriggersDirty);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));

    // Paste replaces the whole text with the clipboard's.
    QGuiApplication::clipboard()->setText(QStringLiteral("Two\nlines"));
    window.form.textPage->cmdPasteText->click();
    QCOMPARE(window.form.textPage->txtReplaceText->toPlainText(), QStringLiteral("Two\nlines"));
    QCOMPARE(Q(window.triggers.Slot(0).ReplaceText), QStringLiteral("Two\r\nlines"));

    QGuiApplication::clipboard()->clear();
    window.form.textPage->cmdPasteText->click();
    QCOMPARE(Q(window.triggers.Slot(0).ReplaceText), QString());
}

void MainWindowTest::DropsOnTheCommandLine() {
    TriggerRecord launch = MakeTrigger(u"go", u"Go", u"Launch");
    launch.CommandLine = u"firefox";
    MainWindowFixture window({launch});
    CommandLineBox& box = *window.form.launchPage->txtCommandLine;
    const std::filesystem::path script = window.folder.Path() / "run me.sh";
    std::ofstream(script) << "#!/bin/sh\n";

    QMimeData text;
    text.setText(QStringLiteral("xdg-open https://example.org"));
    Drop(box, text);
    QCOMPARE(box.text(), QStringLiteral("xdg-open https://example.org"));
    QCOMPARE(Q(window.triggers.Slot(0).CommandLine),
             QStringLiteral("xdg-open https://example.org"));

    // A file manager offers the file's address as text as well: the path wins.
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(QString::fromStdString(script.string()))});
    file.setText(QUrl::fromLocalFile(QString::fromStdString(script.string())).toString());
    Drop(box, file);
    QCOMPARE(box.text(), QString::fromStdString(script.string()));
    QCOMPARE(Q(window.triggers.Slot(0).CommandLine), QString::fromStdString(script.string()));

    QMimeData missing;
    missing.setUrls({QUrl::fromLocalFile(QStringLiteral("/no/such/program"))});
    Drop(box, missing);
    QCOMPARE(box.text(), QString::fromStdString(script.string()));
}

void MainWindowTest::TheProgramDialogOffersExecutablesAndCancelChangesNothing() {
    TemporaryFolder programs("tavro-programs");
    const std::filesystem::path tool = programs.Path() / "tool.sh";
    std::ofstream(tool) << "#!/bin/sh\n";
    std::filesystem::permissions(tool, std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    std::ofstream(programs.Path() / "notes.txt") << "text";
    std::filesystem::create_directory(programs.Path() / "more");
    TriggerRecord launch = MakeTrigger(u"go", u"Go", u"Launch");
    launch.CommandLine = tool.u16string();
    MainWindowFixture window({launch});
    LaunchPage& page = *window.form.launchPage;

    // It opens where the command line's program is; "Executables" lists the
    // folders and the programs, "All Files" every file.
    QStringList executables;
    QStringList all;
    WhenShown<QFileDialog>([&](QFileDialog& dialog) {
        QCOMPARE(dialog.directory().absolutePath(), Q(programs.Path().u16string()));
        executables = ListedFiles(dialog, 2);
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        types->setFocus();
        QTest::keyClick(types, Qt::Key_Down);
        all = ListedFiles(dialog, 3);
        dialog.reject();
    });
    page.cmdCommandLine->click();
    QCOMPARE(executables, (QStringList{QStringLiteral("more"), QStringLiteral("tool.sh")}));
    QCOMPARE(all, (QStringList{QStringLiteral("more"), QStringLiteral("notes.txt"),
                               QStringLiteral("tool.sh")}));
    // Cancelled: the command line and the table are as they were.
    QCOMPARE(page.txtCommandLine->text(), Q(tool.u16string()));
    QVERIFY(!window.triggers.TriggersDirty);

    std::filesystem::remove(tool);
    window.form.ShowTrigger(0);
    WhenShown<QFileDialog>([](QFileDialog& dialog) { TypeFileName(dialog, "/bin/true"); });
    page.cmdCommandLine->click();
    QCOMPARE(page.txtCommandLine->text(), QStringLiteral("/bin/true"));
    QCOMPARE(Q(window.triggers.Slot(0).CommandLine), QStringLiteral("/bin/true"));
    QVERIFY(window.triggers.TriggersDirty);
}

void MainWindowTest::TheApplicationListPageAddsAndDeletes() {
    ApplicationLists lists;
    lists.SendKeyApps = {u"xterm"};
    MainWindowFixture window(ThreeTriggers(), lists);
    ApplicationListsPage& page = *window.form.applicationListsPage;
    Menu(window.form, "mnuSetup").trigger();
    QCOMPARE(window.form.SSTab1->currentIndex(), kApplicationListsPage);
    QCOMPARE(page.lstSendKey->count(), 1);

    window.platform.desktop.inputAnswer = u"Konsole";
    page.cmdAddSendKey->click();
    window.platform.desktop.inputAnswer = u"Mousepad";
    page.cmdAddTextOnly->click();
    QCOMPARE(page.lstSendKey->List(0), std::u16string(u"Konsole"));
    const auto stored = [&](std::string_view query, std::string_view column) {
        return ReadStoredApplications(window.DatabasePath(), query, column);
    };
    QCOMPARE(stored(kSelectSendKeyApps, kSendKeyAppColumn),
             (ApplicationList{u"Konsole", u"xterm"}));
    QCOMPARE(stored(kSelectTextOnlyApps, kTextOnlyAppColumn), (ApplicationList{u"Mousepad"}));
    QCOMPARE(window.main.TheEngine().Applications().TextOnlyApps, (ApplicationList{u"Mousepad"}));

    page.cmdDeleteSendKey->click();  // nothing selected
    QCOMPARE(page.lstSendKey->count(), 2);
    window.ClickLine(*page.lstSendKey, 1);
    page.cmdDeleteSendKey->click();
    QCOMPARE(stored(kSelectSendKeyApps, kSendKeyAppColumn), (ApplicationList{u"Konsole"}));
}

void MainWindowTest::ActivationKeepsPendingEditsAndReloadsOtherwise() {
    MainWindowFixture window(ThreeTriggers());
    window.ClickLine(*window.form.lstTriggers, 2);
    window.form.txtDisplay->selectAll();
    QTest::keyClicks(window.form.txtDisplay, QStringLiteral("Pending"));
    std::filesystem::remove(window.DatabasePath());
    WriteTriggerDatabase(window.DatabasePath(),
                         {MakeTrigger(u"ext", u"External", u"Text", u"from elsewhere")});

    window.main.Lifecycle().Form_Activate();
    QCOMPARE(window.form.txtDisplay->text(), QStringLiteral("Pending"));
    QCOMPARE(Q(window.triggers.Slot(2).Display), QStringLiteral("Pending"));
    QCOMPARE(window.triggers.TriggerCount, 3);

    // Without pending edits, activation shows what the database holds now.
    window.triggers.TriggersDirty = false;
    window.main.Lifecycle().Form_Activate();
    QCOMPARE(window.triggers.TriggerCount, 1);
    QVERIFY((window.ListLines() == std::vector<std::u16string>{u"ext - External"}));
    QCOMPARE(window.form.txtDisplay->text(), QStringLiteral("External"));
}

void MainWindowTest::ExitSavesPendingEditsAndAsksWhenTheSaveFails() {
    {
        MainWindowFixture window(ThreeTriggers());
        window.ClickLine(*window.form.lstTriggers, 0);
        QTest::keyClicks(window.form.txtDisplay, QStringLiteral("!"));
        Menu(window.form, "mnuFileExit").trigger();
        QVERIFY(window.unloaded);
        QCOMPARE(window.Stored()[1].Display, std::u16string(u"Address!"));
        QVERIFY(window.Calls("Question").empty());
    }
    MainWindowFixture window(ThreeTriggers());
    window.ClickLine(*window.form.lstTriggers, 0);
    QTest::keyClicks(window.form.txtDisplay, QStringLiteral("?"));
    std::filesystem::rename(window.DatabasePath(), window.folder.Path() / "away.mdb");

    window.platform.desktop.questionAnswer = false;  // keep Tavro running
    window.form.close();
    QVERIFY(!window.unloaded);
    QVERIFY(window.form.isVisible());
    QCOMPARE(window.Calls("MessageBox").size(), std::size_t{1});  // the failed save
    QCOMPARE(window.Calls("Question").size(), std::size_t{1});
    QVERIFY(window.triggers.TriggersDirty);
    QCOMPARE(window.form.txtDisplay->text(), QStringLiteral("Address?"));

    std::filesystem::rename(window.folder.Path() / "away.mdb", window.DatabasePath());
    Menu(window.form, "mnuFileExit").trigger();
    QVERIFY(window.unloaded);
    QCOMPARE(window.Stored()[1].Display, std::u16string(u"Address?"));

    // Giving up the edits ends the program without a further save.
    MainWindowFixture third(ThreeTriggers());
    QTest::keyClicks(third.form.txtDisplay, QStringLiteral("#"));
    std::filesystem::remove(third.DatabasePath());
    third.platform.desktop.questionAnswer = true;
    third.form.close();
    QVERIFY(third.unloaded);
    QVERIFY(!third.triggers.TriggersDirty);
}

void MainWindowTest::HidingAndMinimisingDisableTheFieldsAndOpeningEnablesThem() {
    MainWindowFixture window(ThreeTriggers());
    frmTavro& form = window.form;
    const QList<QWidget*> fields = {form.txtTrigger,
                                    form.txtDisplay,
                                    form.cboType,
                                    form.textPage->txtReplaceText,
                                    form.richTextPage->txtRTFFile,
                                    form.imagePage->txtImageFile,
                                    form.launchPage->txtCommandLine,
                                    form.keyBufferView->txtBuffer,
                                    form.keyBufferView->txtDiary};
    QVERIFY(form.isVisible());
    QVERIFY(form.MainWindowHandle() != 0);
    for (QWidget* field : fields) {
        QVERIFY(field->isEnabled());
    }
    form.txtDisplay->setFocus();
    form.showMinimized();
    QTRY_VERIFY(form.IsHidden());
    QVERIFY(!form.isMinimized());
    for (QWidget* field : fields) {
        QVERIFY2(!field->isEnabled(), qPrintable(field->objectName()));
    }
    QVERIFY(form.lstTriggers->isEnabled());
    QCOMPARE(form.focusWidget(), form.lstTriggers);

    form.CenterForm();
    QVERIFY(form.isVisible());
    QVERIFY(!form.isMinimized());
    for (QWidget* field : fields) {
        QVERIFY(field->isEnabled());
    }
}

void MainWindowTest::TheKeyViewIsLiveAndFiringLeavesPendingEditsPending() {
    MainWindowFixture window(ThreeTriggers());
    fake::FakePlatform& platform = window.platform;
    platform.windows.AddWindow(200, u"notes.txt - Mousepad", 2);
    platform.windows.SetForeground(200);
    window.form.SetTab(kKeyBufferPage);
    platform.keyboard.Type(u"ab");
    platform.keyboard.KeyDown(16);
    QCOMPARE(window.form.keyBufferView->txtBuffer->text(), QStringLiteral("ab"));
    QVERIFY(window.form.keyBufferView->chkShift->isChecked());
    platform.keyboard.KeyUp(16);
    QVERIFY(!window.form.keyBufferView->chkShift->isChecked());

    // An edit pending while a trigger fires stays pending: the save it would
    // take could sort the fired trigger into another slot mid-firing.
    window.ClickLine(*window.form.lstTriggers, 1);  // calc
    QTest::keyClicks(window.form.txtDisplay, QStringLiteral("!"));
    platform.windows.SetForeground(200);
    platform.keyboard.Type(u" sig");
    QVERIFY(window.Calls("Clipboard.SetText") ==
            std::vector<std::string>{R"(Clipboard.SetText("Best regards"))"});
    QVERIFY(window.triggers.TriggersDirty);
    QCOMPARE(Q(window.triggers.Slot(0).Display), QStringLiteral("Calculator!"));
    QCOMPARE(window.form.txtTrigger->text(), QStringLiteral("sig"));
    QCOMPARE(window.Stored()[0].Display, std::u16string(u"Calculator"));
}

void MainWindowTest::TheWindowTokensOpenTheWindow() {
    MainWindowFixture window({MakeTrigger(u";new", u"New one", u"Text", u"%tavronew%"),
                              MakeTrigger(u";open", u"Open", u"Text", u"%tavroopen%")});
    fake::FakePlatform& platform = window.platform;
    platform.windows.AddWindow(200, u"notes.txt - Mousepad", 2);
    platform.windows.SetForeground(200);

    window.form.HideForm();
    platform.keyboard.Type(u"tavrobuff");
    QVERIFY(window.form.isVisible());
    QCOMPARE(window.form.SSTab1->currentIndex(), kKeyBufferPage);
    QCOMPARE(window.form.keyBufferView->txtBuffer->text(), QStringLiteral("tavrobuff"));
    QVERIFY(window.form.txtTrigger->isEnabled());

    window.form.HideForm();
    platform.keyboard.Type(u";open");
    QVERIFY(window.form.isVisible());
    QCOMPARE(window.triggers.TriggerCount, 2);

    window.form.HideForm();
    platform.keyboard.Type(u";new");
    QVERIFY(window.form.isVisible());
    QCOMPARE(window.form.SSTab1->currentIndex(), kNewTriggerPage);
    QCOMPARE(window.triggers.TriggerCount, 3);
    QVERIFY(window.Calls("Clipboard").empty());  // the tokens paste nothing
}

void MainWindowTest::HelpOpensThePageOfTheFocusedControl() {
    MainWindowFixture window(ThreeTriggers());
    const std::filesystem::path help = window.folder.Path() / "help";
    std::filesystem::create_directory(help);
    for (const char* page : {"contents.html", "text-triggers.html", "trigger-list.html"}) {
        std::ofstream(help / page) << "<html></html>";
    }
    const auto opened = [&] {
        const std::vector<std::string> calls = window.Calls("ShellExecuteA");
        return calls.empty() ? std::string() : calls.back();
    };
    window.ClickLine(*window.form.lstTriggers, 2);  // a Text trigger
    QTest::keyClick(window.form.lstTriggers, Qt::Key_F1);
    QVERIFY(opened().find((help / "trigger-list.html").string()) != std::string::npos);
    window.form.textPage->txtReplaceText->setFocus();
    QTest::keyClick(window.form.textPage->txtReplaceText, Qt::Key_F1);
    QVERIFY(opened().find((help / "text-triggers.html").string()) != std::string::npos);
    Menu(window.form, "mnuHelpContents").trigger();
    QVERIFY(opened().find((help / "contents.html").string()) != std::string::npos);

    Menu(window.form, "mnuTutorial").trigger();  // not there
    QCOMPARE(window.Calls("ShellExecuteA").size(), std::size_t{3});
    QCOMPARE(window.Calls("MessageBox").size(), std::size_t{1});
}

void MainWindowTest::TheSplashClosesItselfAndAboutStays() {
    MainWindowFixture window(ThreeTriggers());
    window.form.ShowSplash();
    frmSplash* splash = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == QLatin1String("frmSplash")) {
            splash = static_cast<frmSplash*>(top);
        }
    }
    QVERIFY(splash != nullptr);
    QVERIFY(splash->isVisible());
    QVERIFY(splash->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(splash->Timer1.isActive());
    QCOMPARE(splash->Timer1.interval(), 5000);
    QVERIFY(splash->cmdClose->isEnabled());

    Menu(window.form, "mnuHelpAbout").trigger();
    QVERIFY(splash->isVisible());
    QVERIFY(!splash->Timer1.isActive());
    splash->cmdClose->click();
    QVERIFY(!splash->isVisible());
}

}  // namespace tavro::test

int main(int argc, char** argv) {
    // Real widgets without a display; the window manager's part is the
    // end-to-end tests'.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    tavro::test::MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowTest.moc"
