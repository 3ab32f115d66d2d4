// The main window's rules on its real widgets, over a real trigger database.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QUrl>

#include <algorithm>
#include <fstream>

#include "editing/TypePages.h"
#include "editor/ApplicationListsPage.h"
#include "editor/ImagePage.h"
#include "editor/KeyBufferView.h"
#include "editor/LaunchPage.h"
#include "editor/MainWindowFixture.h"
#include "editor/ModalDialogs.h"
#include "editor/NewTriggerPage.h"
#include "editor/RichTextPage.h"
#include "editor/SortedListBox.h"
#include "editor/TextPage.h"
#include "editor/TypeComboBox.h"
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
    void EditsGoToTheSlotAndAreSavedByCtrlSOrByLeavingTheTrigger();
    void NewTriggerSavesPendingEditsFirstAndStopsAtTwenty();
    void CancelNewTriggerDropsOnlyTheNewSlot();
    void DeleteActsOnlyFromTheListAndAfterConfirmation();
    void TheTypeBoxTakesOnlyItsLettersAndShowsTheirPages();
    void DropsOnTheCommandLine();
    void TheProgramDialogOffersExecutablesAndCancelChangesNothing();
    void TheApplicationListPageAddsAndDeletes();
    void ActivationKeepsPendingEditsAndReloadsOtherwise();
    void AFailedSaveAtTheEndAsksBeforeEndingTheProgram();
    void TypingElsewhereFiresAndTheTokensOpenTheWindow();
    void HelpAndPrintOpenTheirFiles();
};

void MainWindowTest::EditsGoToTheSlotAndAreSavedByCtrlSOrByLeavingTheTrigger() {
    MainWindowFixture window(ThreeTriggers());
    QPlainTextEdit& text = *window.form.textPage->txtReplaceText;
    window.ClickLine(*window.form.lstTriggers, 2);  // sig - Signature
    window.form.txtDisplay->selectAll();
    QTest::keyClicks(window.form.txtDisplay, QStringLiteral("A signature"));
    text.moveCursor(QTextCursor::End);
    QTest::keyClick(&text, Qt::Key_Return);
    QTest::keyClicks(&text, QStringLiteral("Bye"));
    QCOMPARE(Q(window.triggers.Slot(2).Display), QStringLiteral("A signature"));
    QCOMPARE(Q(window.triggers.Slot(2).ReplaceText), QStringLiteral("Best regards\r\nBye"));
    QVERIFY(window.triggers.TriggersDirty);
    QVERIFY(window.ListLines()[2] == u"sig - Signature");
    QCOMPARE(window.Stored()[2].Display, std::u16string(u"Signature"));

    // Saved, it sorts before "Address": in slot 1 now, and still shown.
    QTest::keySequence(window.form.txtDisplay, QKeySequence(Qt::CTRL | Qt::Key_S));
    QVERIFY(!window.triggers.TriggersDirty);
    QVERIFY(
        (window.ListLines() == std::vector<std::u16string>{u"addr - Address", u"calc - Calculator",
                                                           u"sig - A signature"}));
    QCOMPARE(window.Stored()[1].ReplaceText, std::u16string(u"Best regards\r\nBye"));
    QCOMPARE(window.platform.desktop.shownTrayEntries,
             (std::vector<std::u16string>{u"Calculator - Launch", u"-", u"A signature - Text",
                                          u"Address - Text"}));
    QCOMPARE(window.form.lstTriggers->currentItem()->text(), QStringLiteral("sig - A signature"));

    // Choosing another trigger saves the edits first.
    text.moveCursor(QTextCursor::End);
    QTest::keyClicks(&text, QStringLiteral("!"));
    window.ClickLine(*window.form.lstTriggers, 0);  // addr - Address
    QVERIFY(!window.triggers.TriggersDirty);
    QCOMPARE(window.Stored()[1].ReplaceText, std::u16string(u"Best regards\r\nBye!"));
    QCOMPARE(text.toPlainText(), QStringLiteral("1 Main Street"));
}

void MainWindowTest::NewTriggerSavesPendingEditsFirstAndStopsAtTwenty() {
    std::vector<TriggerRecord> nineteen;
    for (char16_t letter = u'a'; letter < u'a' + 19; ++letter) {
        nineteen.push_back(MakeTrigger(std::u16string(u"t") + letter,
                                       std::u16string(u"Trigger ") + letter, u"Text", u"x"));
    }
    MainWindowFixture window(nineteen);
    window.form.txtDisplay->selectAll();
    QTest::keyClicks(window.form.txtDisplay, QStringLiteral("Zuhause"));
    QTest::keySequence(window.form.txtDisplay, QKeySequence(Qt::CTRL | Qt::Key_N));
    QCOMPARE(window.Stored()[18].Display, std::u16string(u"Zuhause"));  // saved and resorted
    QCOMPARE(window.triggers.TriggerCount, 20);
    QCOMPARE(window.triggers.CurrentTrigger, 19);
    QCOMPARE(window.form.SSTab1->currentIndex(), kNewTriggerPage);
    QVERIFY(window.form.txtTrigger->hasFocus());

    QTest::keyClicks(window.form.txtTrigger, QStringLiteral("new"));
    QTest::keyClicks(window.form.txtDisplay, QStringLiteral("The new one"));
    QTest::keyClick(window.form.cboType, Qt::Key_T);
    QTest::keyClicks(window.form.textPage->txtReplaceText, QStringLiteral("Hello there"));
    // Coming back to the window from one of its dialogs drops nothing.
    window.main.Lifecycle().Form_Activate();
    Menu(window.form, "mnuNewTrigger").trigger();
    QCOMPARE(window.Calls("MessageBox").size(), std::size_t{1});  // no more room
    QCOMPARE(window.triggers.TriggerCount, 20);

    Menu(window.form, "mnuSave").trigger();
    const std::vector<TriggerRecord> stored = window.Stored();
    QCOMPARE(stored.size(), std::size_t{20});
    QCOMPARE(stored[0].Display, std::u16string(u"The new one"));
    QCOMPARE(stored[0].ReplaceText, std::u16string(u"Hello there"));
    QCOMPARE(window.form.txtTrigger->text(), QStringLiteral("new"));
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
    QCOMPARE(window.form.txtTrigger->text(), QStringLiteral("sig"));
    QCOMPARE(window.Stored().size(), std::size_t{4});

    // A saved trigger of an unknown type shows the same page; Cancel leaves it.
    window.ClickLine(*window.form.lstTriggers, 2);  // odd - Odd one
    QCOMPARE(window.form.cboType->currentText(), QStringLiteral("Morse"));
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
}

void MainWindowTest::DeleteActsOnlyFromTheListAndAfterConfirmation() {
    MainWindowFixture window(ThreeTriggers());
    window.ClickLine(*window.form.lstTriggers, 1);  // calc - Calculator
    window.form.txtDisplay->setFocus();
    QTest::keyClick(window.form.txtDisplay, Qt::Key_End);
    QTest::keyClick(window.form.txtDisplay, Qt::Key_Delete);
    QVERIFY(window.Calls("Question").empty());

    window.form.lstTriggers->setFocus();
    window.platform.desktop.questionAnswer = false;
    QTest::keyClick(window.form.lstTriggers, Qt::Key_Delete);
    QCOMPARE(window.Calls("Question").size(), std::size_t{1});
    QCOMPARE(window.Stored().size(), std::size_t{3});

    window.platform.desktop.questionAnswer = true;
    QTest::keyClick(window.form.lstTriggers, Qt::Key_Delete);
    QVERIFY(
        (window.ListLines() == std::vector<std::u16string>{u"addr - Address", u"sig - Signature"}));
    QCOMPARE(window.Stored().size(), std::size_t{2});
}

void MainWindowTest::TheTypeBoxTakesOnlyItsLettersAndShowsTheirPages() {
    MainWindowFixture window({MakeTrigger(u"sig", u"Signature", u"Text", u"Best regards")});
    TypeComboBox& type = *window.form.cboType;
    QStackedWidget& pages = *window.form.SSTab1;
    QPushButton& back = *window.form.textPage->cmdBack;
    type.setFocus();
    QTest::keyClicks(&type, QStringLiteral("x5 "));
    QTest::keyClick(&type, Qt::Key_Backspace);
    QTest::keyClick(&type, Qt::Key_Delete);
    QCOMPARE(type.currentText(), QStringLiteral("Text"));
    QVERIFY(!window.triggers.TriggersDirty);

    QTest::keyClick(&type, Qt::Key_R, Qt::NoModifier);
    QCOMPARE(type.currentText(), QStringLiteral("RTF"));
    QCOMPARE(pages.currentIndex(), kRichTextPage);
    QCOMPARE(Q(window.triggers.Slot(0).Type), QStringLiteral("RTF"));
    QVERIFY(type.lineEdit()->hasSelectedText());

    // The alternate text of a picture, and back.
    QTest::keyClicks(&type, QStringLiteral("i"));
    QCOMPARE(pages.currentIndex(), kImagePage);
    window.form.imagePage->cmdAlternateTextImg->click();
    QCOMPARE(pages.currentIndex(), kTextPage);
    QCOMPARE(window.form.textPage->txtReplaceText->toPlainText(), QStringLiteral("Best regards"));
    back.click();
    QCOMPARE(pages.currentIndex(), kImagePage);

    QTest::keyClicks(&type, QStringLiteral("L"));
    QCOMPARE(pages.currentIndex(), kLaunchPage);
    QTest::keyClicks(&type, QStringLiteral("t"));
    QCOMPARE(pages.currentIndex(), kTextPage);
    QVERIFY(back.isHidden());
}

void MainWindowTest::DropsOnTheCommandLine() {
    TriggerRecord launch = MakeTrigger(u"go", u"Go", u"Launch");
    launch.CommandLine = u"firefox";
    MainWindowFixture window({launch});
    CommandLineBox& box = *window.form.launchPage->txtCommandLine;
    const QString script = Q((window.folder.Path() / "run me.sh").u16string());
    std::ofstream(script.toStdString()) << "#!/bin/sh\n";

    QMimeData text;
    text.setText(QStringLiteral("xdg-open https://example.org"));
    Drop(box, text);
    QCOMPARE(Q(window.triggers.Slot(0).CommandLine),
             QStringLiteral("xdg-open https://example.org"));

    // A file manager offers the file's address as text as well: the path wins.
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(script)});
    file.setText(QUrl::fromLocalFile(script).toString());
    Drop(box, file);
    QCOMPARE(box.text(), script);
    QCOMPARE(Q(window.triggers.Slot(0).CommandLine), script);

    QMimeData missing;
    missing.setUrls({QUrl::fromLocalFile(QStringLiteral("/no/such/program"))});
    Drop(box, missing);
    QCOMPARE(box.text(), script);
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

    // It opens where the command line's program is, listing the folders
    // and the programs.
    QStringList listed;
    WhenShown<QFileDialog>([&](QFileDialog& dialog) {
        QCOMPARE(dialog.directory().absolutePath(), Q(programs.Path().u16string()));
        listed = ListedFiles(dialog, 2);
        dialog.reject();
    });
    page.cmdCommandLine->click();
    QCOMPARE(listed, (QStringList{QStringLiteral("more"), QStringLiteral("tool.sh")}));
    QCOMPARE(page.txtCommandLine->text(), Q(tool.u16string()));
    QVERIFY(!window.triggers.TriggersDirty);
}

// What the lists' buttons do to the database is the store tests'; here the
// page and its buttons.
void MainWindowTest::TheApplicationListPageAddsAndDeletes() {
    ApplicationLists lists;
    lists.SendKeyApps = {u"xterm"};
    MainWindowFixture window(ThreeTriggers(), lists);
    ApplicationListsPage& page = *window.form.applicationListsPage;
    Menu(window.form, "mnuSetup").trigger();
    QCOMPARE(window.form.SSTab1->currentIndex(), kApplicationListsPage);

    window.platform.desktop.inputAnswer = u"Konsole";
    page.cmdAddSendKey->click();
    window.platform.desktop.inputAnswer = u"Mousepad";
    page.cmdAddTextOnly->click();
    window.ClickLine(*page.lstSendKey, 1);  // xterm
    page.cmdDeleteSendKey->click();
    QCOMPARE(ReadStoredApplications(window.DatabasePath(), kSelectSendKeyApps, kSendKeyAppColumn),
             (ApplicationList{u"Konsole"}));
    QCOMPARE(ReadStoredApplications(window.DatabasePath(), kSelectTextOnlyApps, kTextOnlyAppColumn),
             (ApplicationList{u"Mousepad"}));
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
    QCOMPARE(window.triggers.TriggerCount, 3);

    // Without pending edits, activation shows what the database holds now.
    window.triggers.TriggersDirty = false;
    window.main.Lifecycle().Form_Activate();
    QVERIFY((window.ListLines() == std::vector<std::u16string>{u"ext - External"}));
    QCOMPARE(window.form.txtDisplay->text(), QStringLiteral("External"));
}

// Saving pending edits at the end is the e2e tests'; here the save fails.
void MainWindowTest::AFailedSaveAtTheEndAsksBeforeEndingTheProgram() {
    MainWindowFixture window(ThreeTriggers());
    QTest::keyClicks(window.form.txtDisplay, QStringLiteral("?"));
    std::filesystem::rename(window.DatabasePath(), window.folder.Path() / "away.mdb");

    window.platform.desktop.questionAnswer = false;  // keep Tavro running
    window.form.close();
    QVERIFY(!window.unloaded);
    QVERIFY(window.form.isVisible());
    QCOMPARE(window.Calls("MessageBox").size(), std::size_t{1});  // the failed save
    QCOMPARE(window.Calls("Question").size(), std::size_t{1});
    QCOMPARE(window.form.txtDisplay->text(), QStringLiteral("Calculator?"));

    std::filesystem::rename(window.folder.Path() / "away.mdb", window.DatabasePath());
    Menu(window.form, "mnuFileExit").trigger();
    QVERIFY(window.unloaded);
    QCOMPARE(window.Stored()[0].Display, std::u16string(u"Calculator?"));

    // Giving up the edits ends the program without a further save.
    MainWindowFixture given(ThreeTriggers());
    QTest::keyClicks(given.form.txtDisplay, QStringLiteral("#"));
    std::filesystem::remove(given.DatabasePath());
    given.platform.desktop.questionAnswer = true;
    given.form.close();
    QVERIFY(given.unloaded);
    QVERIFY(!given.triggers.TriggersDirty);
}

// Typed in another window: a trigger fires, leaving the edits pending in the
// window pending; the window's tokens open the window, which turned its
// fields off while out of sight.
void MainWindowTest::TypingElsewhereFiresAndTheTokensOpenTheWindow() {
    std::vector<TriggerRecord> triggers = ThreeTriggers();
    triggers.push_back(MakeTrigger(u";new", u"New one", u"Text", u"%tavronew%"));
    triggers.push_back(MakeTrigger(u";open", u"Open", u"Text", u"%tavroopen%"));
    MainWindowFixture window(triggers);
    frmTavro& form = window.form;
    fake::FakePlatform& platform = window.platform;
    platform.windows.AddWindow(200, u"notes.txt - Mousepad", 2);

    // The save a pending edit would take could sort the fired trigger into
    // another slot mid-firing.
    window.ClickLine(*form.lstTriggers, 3);  // calc
    QTest::keyClicks(form.txtDisplay, QStringLiteral("!"));
    platform.windows.SetForeground(200);
    platform.keyboard.Type(u" sig");
    QCOMPARE(window.Calls("Clipboard.Set"),
             std::vector<std::string>{R"(Clipboard.SetText("Best regards"))"});
    QCOMPARE(Q(window.triggers.Slot(0).Display), QStringLiteral("Calculator!"));
    QCOMPARE(window.Stored()[0].Display, std::u16string(u"Calculator"));
    QCOMPARE(form.txtTrigger->text(), QStringLiteral("sig"));

    // One field of the header, and of every kind of page.
    const QList<QWidget*> fields = {form.txtTrigger, form.textPage->txtReplaceText,
                                    form.imagePage->txtImageFile, form.keyBufferView->txtDiary};
    const auto enabled = [&](bool expected) {
        return std::ranges::all_of(fields, [&](QWidget* f) { return f->isEnabled() == expected; });
    };
    form.txtDisplay->setFocus();
    form.showMinimized();
    QTRY_VERIFY(form.IsHidden());
    QVERIFY(enabled(false));
    QCOMPARE(form.focusWidget(), form.lstTriggers);
    platform.windows.SetForeground(200);
    platform.keyboard.Type(u"tavrobuff");
    QVERIFY(form.isVisible() && !form.isMinimized() && enabled(true));
    QCOMPARE(form.SSTab1->currentIndex(), kKeyBufferPage);
    QCOMPARE(form.keyBufferView->txtBuffer->text(), QStringLiteral("tavrobuff"));

    form.HideForm();
    platform.keyboard.Type(u";open");
    QVERIFY(form.isVisible());
    form.HideForm();
    platform.keyboard.Type(u";new");
    QVERIFY(form.isVisible());
    QCOMPARE(form.SSTab1->currentIndex(), kNewTriggerPage);
    QCOMPARE(window.triggers.TriggerCount, 6);
    QCOMPARE(window.Calls("Clipboard.Set").size(), std::size_t{1});  // the tokens paste nothing
}

// F1 opens the help page of the focused control's page, or says it is
// missing; that the program's pages are there is the help test's. Ctrl+P
// opens the printed legend.
void MainWindowTest::HelpAndPrintOpenTheirFiles() {
    MainWindowFixture window(ThreeTriggers());
    const std::filesystem::path help = window.folder.Path() / "help";
    std::filesystem::create_directory(help);
    std::ofstream(help / "text-triggers.html") << "<html></html>";
    window.ClickLine(*window.form.lstTriggers, 2);  // a Text trigger
    window.form.textPage->txtReplaceText->setFocus();
    QTest::keyClick(window.form.textPage->txtReplaceText, Qt::Key_F1);
    const std::vector<std::string> opened = window.Calls("ShellExecuteA");
    QCOMPARE(opened.size(), std::size_t{1});
    QVERIFY(opened[0].find((help / "text-triggers.html").string()) != std::string::npos);

    window.form.lstTriggers->setFocus();
    QTest::keyClick(window.form.lstTriggers, Qt::Key_F1);  // trigger-list.html, not there
    QCOMPARE(window.Calls("ShellExecuteA").size(), std::size_t{1});
    QCOMPARE(window.Calls("MessageBox").size(), std::size_t{1});

    QTest::keySequence(&window.form, QKeySequence(Qt::CTRL | Qt::Key_P));
    const std::filesystem::path printout = window.folder.Path() / "printout.rtf";
    QCOMPARE(window.Calls("ShellExecuteA").size(), std::size_t{2});
    QVERIFY(window.Calls("ShellExecuteA")[1].find(printout.string()) != std::string::npos);
    QVERIFY(std::filesystem::file_size(printout) > 0);
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
