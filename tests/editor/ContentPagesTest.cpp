// The rich-text and image pages of the main window on their real widgets,
// with real files and the offscreen platform's clipboard.

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "editing/ContentFileTexts.h"
#include "editor/DefaultPicture.h"
#include "editor/FileDialogBoxes.h"
#include "editor/ImagePage.h"
#include "editor/MainWindowFixture.h"
#include "editor/ModalDialogs.h"
#include "editor/RichTextBox.h"
#include "editor/RichTextPage.h"
#include "platform/fake/CallLog.h"
#include "richtext/DocumentText.h"
#include "richtext/RtfReader.h"
#include "support/Files.h"
#include "support/TriggerDatabase.h"

namespace tavro::test {

namespace {

namespace fs = std::filesystem;

constexpr WindowHandle kEditor = 200;
const std::string kBack = "keybd_event(8,0,0,0)";

QString Q(const fs::path& path) {
    return QString::fromStdU16String(path.u16string());
}

// The text of an RTF file, as the rich-text control reads it.
QString RichText(const fs::path& path) {
    RichTextBox box;
    return box.SetTextRTF(ReadFile(path)) ? box.Text() : QStringLiteral("<unreadable>");
}

QImage Filled(int width, int height, Qt::GlobalColor colour) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

// The picture of a file that is a Windows bitmap; null for any other file.
QImage ReadBitmap(const fs::path& path) {
    QImageReader reader(Q(path));
    return reader.format() == "bmp" ? reader.read() : QImage();
}

std::string MessageBox(std::u16string_view text, std::u16string_view title) {
    return fake::FormatCall("MessageBox", {fake::Quoted(text), fake::Quoted(title), "Exclamation"});
}

// Triggers with content files in a folder of their own (not the data
// folder): "rtf" with letter.rtf, "img" with red.png (4 × 4 red), "memo" and
// "pic" with no file yet.
std::vector<TriggerRecord> ContentTriggers(const fs::path& files) {
    WriteFile(files / "letter.rtf", R"({\rtf1\ansi Dear {\b friend}\par})");
    Filled(4, 4, Qt::red).save(Q(files / "red.png"));
    TriggerRecord letter = MakeTrigger(u"rtf", u"Letter", u"RTF", u"Dear friend");
    letter.ReplaceRTFFile = (files / "letter.rtf").u16string();
    TriggerRecord logo = MakeTrigger(u"img", u"Logo", u"Image", u"[logo]");
    logo.ReplaceImageFile = (files / "red.png").u16string();
    return {letter, logo, MakeTrigger(u"memo", u"Memo", u"RTF", u"memo"),
            MakeTrigger(u"pic", u"Picture", u"Image", u"[picture]")};
}

// The main window over the content triggers.
class ContentWindow {
  public:
    ContentWindow() : window(ContentTriggers(files.Path())) {}

    int SlotOf(std::u16string_view trigger) const {
        for (int slot = 0; slot < window.triggers.TriggerCount; ++slot) {
            if (window.triggers.Slot(slot).Trigger == trigger) {
                return slot;
            }
        }
        return -1;
    }
    // Shows the trigger as firing does, and lets the page draw its preview.
    void Show(std::u16string_view trigger) {
        form.ShowTrigger(SlotOf(trigger));
        QCoreApplication::processEvents();
    }
    TriggerRecord& Record(std::u16string_view trigger) {
        return window.triggers.Slot(SlotOf(trigger));
    }
    fs::path Data() const { return window.folder.Path() / "data"; }
    fake::FakeDesktop& Desktop() { return window.platform.desktop; }
    std::vector<std::string> Calls() const {
        return window.platform.log.CallsStartingWith(
            {"MessageBox", "ShellExecuteA", "OpenFileDialog", "SaveFileDialog"});
    }
    void ClearCalls() { window.platform.log.Clear(); }
    // The call that opens the file in the desktop's program for it.
    std::string Opened(const fs::path& file) {
        return fake::FormatCall("ShellExecuteA",
                                {std::to_string(form.MainWindowHandle()), fake::Quoted(u"Open"),
                                 fake::Quoted(file.u16string()), fake::Quoted(u""),
                                 fake::Quoted(window.folder.Path().u16string()), "1"});
    }
    // Types the trigger into an editor in front. The Backspaces, the reads
    // of content files and the clipboard's changes, in the order they came.
    std::vector<std::string> Fire(std::u16string_view trigger) {
        fake::FakePlatform& platform = window.platform;
        platform.windows.AddWindow(kEditor, u"notes.txt - Mousepad", 2);
        platform.windows.SetForeground(kEditor);
        ClearCalls();
        platform.keyboard.Type(trigger);
        return platform.log.CallsStartingWith(
            {"keybd_event(8,0,0,0)", "ReadContentFile", "Clipboard.Set"});
    }
    // Whether firing the trigger pastes rich text holding the word.
    bool Pastes(std::u16string_view trigger, std::string_view word) {
        const std::vector<std::string> calls = Fire(trigger);
        return !calls.empty() && calls.back().starts_with("Clipboard.SetRichText") &&
               calls.back().find(word) != std::string::npos;
    }
    // Waits until the file has been read again, as its change on disk makes
    // it (the change was made after the last events were handled), and lets
    // the page draw it.
    bool ReadAgain(const fs::path& file) {
        const std::string read =
            fake::FormatCall("ReadContentFile", {fake::Quoted(file.u16string())});
        ClearCalls();
        const bool seen = QTest::qWaitFor(
            [&] { return !window.platform.log.CallsStartingWith({read}).empty(); }, 10000);
        QCoreApplication::processEvents();
        ClearCalls();
        return seen;
    }

    // The text the rich-text preview shows.
    QString Preview() const { return form.richTextPage->txtReplaceRTF->Text(); }

    TemporaryFolder files{"tavro-content"};
    MainWindowFixture window;
    frmTavro& form = window.form;
    RichTextPage& rtf = *form.richTextPage;
    ImagePage& image = *form.imagePage;
};

}  // namespace

class ContentPagesTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QuietAboutRaising(); }
    void ATypedPathShowsItsFileAtOnceAndStoresIt();
    void LoadPicksAFileAndCancelledDialogsChangeNothing();
    void NewMakesAnEmptyRtfOrTheDefaultPictureAndOpensIt();
    void PasteSavesTheClipboardsTextOrPictureAsTheTriggersFile();
    void SaveFailuresGiveTheirMessagesAndChangeNothing();
    void RefreshShowsTheSavedFileAndReportsAMissingOne();
    void AFiringDuringTheDialogDoesNotMisplaceTheFile();
    void TheSaveDialogAsksBeforeReplacingAFile();
    void FiringErasesBeforeAnyFileIsRead();
    void TheFileOnDiskIsWhatFiringPastes();
};

void ContentPagesTest::ATypedPathShowsItsFileAtOnceAndStoresIt() {
    ContentWindow content;
    // A trigger without a file keeps nothing of the one shown before.
    content.Show(u"img");
    content.Show(u"pic");
    QVERIFY(!content.form.HasTriggerPicture());
    content.Show(u"memo");
    const QString letter = Q(content.files.Path() / "letter.rtf");
    content.rtf.txtRTFFile->setFocus();
    QTest::keyClicks(content.rtf.txtRTFFile, letter);
    QCOMPARE(content.Preview(), QStringLiteral("Dear friend"));
    QVERIFY(content.rtf.cmdEditRTF->isEnabled());
    QVERIFY(content.form.HasReplaceRTF());
    QCOMPARE(Q(content.Record(u"memo").ReplaceRTFFile), letter);
    QTest::keyClicks(content.rtf.txtRTFFile, QStringLiteral("x"));  // no file there
    QCOMPARE(content.Preview(), QString());
    QVERIFY(!content.rtf.cmdEditRTF->isEnabled());
    QVERIFY(!content.form.HasReplaceRTF());
}

void ContentPagesTest::LoadPicksAFileAndCancelledDialogsChangeNothing() {
    ContentWindow content;
    // While a name is asked for, the page shows what would be saved; the
    // dialogs cancelled, all is as it was.
    content.Show(u"rtf");
    content.Desktop().fileDialogAnswer = std::nullopt;
    QGuiApplication::clipboard()->setText(QStringLiteral("not wanted"));
    QString shownText;
    content.Desktop().onFileDialog = [&] { shownText = content.Preview(); };
    content.rtf.cmdPasteRTF->click();
    QCOMPARE(shownText, QStringLiteral("not wanted"));
    content.rtf.cmdNewRTF->click();
    content.rtf.cmdLoadRTF->click();
    QCOMPARE(content.Preview(), QStringLiteral("Dear friend"));
    QVERIFY(content.form.HasReplaceRTF());

    content.Show(u"img");
    QGuiApplication::clipboard()->setImage(Filled(2, 2, Qt::green));
    QSize shownSize;
    content.Desktop().onFileDialog = [&] { shownSize = content.image.picImage->pixmap().size(); };
    content.image.cmdPasteImage->click();
    QCOMPARE(shownSize, QSize(2, 2));
    content.image.cmdNewImage->click();
    QCOMPARE(shownSize, QSize(225, 75));
    content.image.cmdLoadImage->click();
    QCOMPARE(content.form.TriggerPicture().pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(content.image.picImage->pixmap().size(), QSize(4, 4));
    QVERIFY(!content.window.triggers.TriggersDirty);
    QVERIFY(fs::is_empty(content.Data()));

    // Without a file yet, Load opens in the data folder.
    content.Show(u"memo");
    content.ClearCalls();
    const fs::path letter = content.files.Path() / "letter.rtf";
    content.Desktop().fileDialogAnswer = letter.u16string();
    content.rtf.cmdLoadRTF->click();
    QVERIFY(content.Calls().at(0).starts_with("OpenFileDialog(" +
                                              fake::Quoted(content.Data().u16string()) + ","));
    QCOMPARE(content.Record(u"memo").ReplaceRTFFile, letter.u16string());
    QCOMPARE(content.Preview(), QStringLiteral("Dear friend"));
}

void ContentPagesTest::NewMakesAnEmptyRtfOrTheDefaultPictureAndOpensIt() {
    ContentWindow content;
    content.Show(u"memo");
    const fs::path memo = content.Data() / "memo.rtf";
    content.Desktop().fileDialogAnswer = memo.u16string();
    content.rtf.cmdNewRTF->click();
    QCOMPARE(RichText(memo), QString());
    QCOMPARE(content.Record(u"memo").ReplaceRTFFile, memo.u16string());
    QVERIFY(content.rtf.cmdEditRTF->isEnabled());
    QVERIFY(!content.form.HasReplaceRTF());  // empty: nothing to paste yet
    // Opened in the word processor at once; Refresh stays until another
    // trigger is shown.
    QCOMPARE(content.Calls().back(), content.Opened(memo));
    QVERIFY(content.rtf.cmdReloadRTF->isVisibleTo(&content.rtf));
    content.Show(u"pic");
    QVERIFY(!content.rtf.cmdReloadRTF->isVisibleTo(&content.rtf));

    content.ClearCalls();
    const fs::path file = content.Data() / "new.bmp";
    content.Desktop().fileDialogAnswer = file.u16string();
    content.image.cmdNewImage->click();
    const QImage saved = ReadBitmap(file);
    QCOMPARE(saved, DrawDefaultPicture().convertToFormat(saved.format()));
    QCOMPARE(content.Record(u"pic").ReplaceImageFile, file.u16string());
    QCOMPARE(content.form.TriggerPicture().size(), saved.size());
    QCOMPARE(content.Calls().back(), content.Opened(file));
    QVERIFY(content.image.cmdReloadImage->isVisibleTo(&content.image));
}

// Formatted text from a word processor is the e2e tests'.
void ContentPagesTest::PasteSavesTheClipboardsTextOrPictureAsTheTriggersFile() {
    ContentWindow content;
    content.Show(u"memo");
    QGuiApplication::clipboard()->setText(QStringLiteral("Plain words\nand a second line"));
    const fs::path plain = content.Data() / "plain.rtf";
    content.Desktop().fileDialogAnswer = plain.u16string();
    content.rtf.cmdPasteRTF->click();
    QCOMPARE(RichText(plain), QStringLiteral("Plain words\r\nand a second line"));
    QCOMPARE(content.Record(u"memo").ReplaceRTFFile, plain.u16string());
    QCOMPARE(content.Preview(), RichText(plain));
    QVERIFY(content.rtf.txtReplaceRTF->isReadOnly());
    QVERIFY(!content.rtf.cmdReloadRTF->isVisibleTo(&content.rtf));  // Paste opens nothing

    // A picture becomes a rich-text file holding it.
    QGuiApplication::clipboard()->setImage(Filled(5, 3, Qt::green));
    const fs::path picture = content.Data() / "picture.rtf";
    content.Desktop().fileDialogAnswer = picture.u16string();
    content.rtf.cmdPasteRTF->click();
    QVERIFY(DocumentText(ReadRtf(ReadFile(picture)).document) == u"[picture 5x3]\n");

    content.Show(u"pic");

    // Half of it transparent: a bitmap has no transparency, and white is
    // what the page it is pasted on shows there.
    QImage logo(6, 4, QImage::Format_ARGB32);
    logo.fill(Qt::transparent);
    for (int x = 0; x < 3; ++x) {
        for (int y = 0; y < 4; ++y) {
            logo.setPixelColor(x, y, Qt::blue);
        }
    }
    QGuiApplication::clipboard()->setImage(logo);
    const fs::path file = content.Data() / "logo.bmp";
    content.Desktop().fileDialogAnswer = file.u16string();
    content.image.cmdPasteImage->click();
    const QImage saved = ReadBitmap(file);
    QCOMPARE(saved.pixelColor(0, 0), QColor(Qt::blue));
    QCOMPARE(saved.pixelColor(5, 3), QColor(Qt::white));
    QCOMPARE(content.Record(u"pic").ReplaceImageFile, file.u16string());
    QCOMPARE(content.form.TriggerPicture().pixelColor(5, 3), QColor(Qt::white));
    QVERIFY(!content.image.cmdReloadImage->isVisibleTo(&content.image));
}

// Which places a save refuses is the unit tests'; here the messages, and
// nothing changed (the image page shares the code, and its reverting is the
// cancel test's).
void ContentPagesTest::SaveFailuresGiveTheirMessagesAndChangeNothing() {
    ContentWindow content;
    const fs::path blocker = content.files.Path() / "not-a-folder";
    WriteFile(blocker, "x");
    content.Desktop().fileDialogAnswer = (blocker / "new.rtf").u16string();
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    content.Show(u"rtf");
    content.rtf.cmdNewRTF->click();
    content.rtf.cmdPasteRTF->click();
    QCOMPARE(content.window.Calls("MessageBox"),
             (std::vector<std::string>{MessageBox(kNewRichTextFailed, kCannotSaveFileTitle),
                                       MessageBox(kPasteRichTextFailed, kCannotSaveFileTitle)}));
    QCOMPARE(content.Preview(), QStringLiteral("Dear friend"));
    QCOMPARE(content.Record(u"rtf").ReplaceRTFFile,
             (content.files.Path() / "letter.rtf").u16string());
    QVERIFY(!content.window.triggers.TriggersDirty);
}

void ContentPagesTest::RefreshShowsTheSavedFileAndReportsAMissingOne() {
    ContentWindow content;
    content.Show(u"rtf");
    const fs::path letter = content.files.Path() / "letter.rtf";
    content.rtf.cmdEditRTF->click();
    WriteFile(letter, R"({\rtf1\ansi Dear {\b reader}\par})");  // saved in the word processor
    content.rtf.cmdReloadRTF->click();
    QCOMPARE(content.Preview(), QStringLiteral("Dear reader"));

    content.ClearCalls();
    fs::remove(letter);
    content.rtf.cmdReloadRTF->click();
    QCOMPARE(content.Calls(), std::vector<std::string>{MessageBox(
                                  u"File not found: " + letter.u16string(), kRefreshFailedTitle)});
    // Nothing is left that firing would paste instead of the missing file.
    QCOMPARE(content.Preview(), QString());
    QVERIFY(!content.form.HasReplaceRTF());
    QCOMPARE(content.Record(u"rtf").ReplaceRTFFile, letter.u16string());

    QVERIFY(!content.window.triggers.TriggersDirty);
}

void ContentPagesTest::AFiringDuringTheDialogDoesNotMisplaceTheFile() {
    ContentWindow content;
    content.Show(u"memo");
    const int memo = content.SlotOf(u"memo");
    const int letter = content.SlotOf(u"rtf");
    // While the name is asked for, the user fires the letter trigger in
    // another application: firing shows it in the window.
    content.Desktop().onFileDialog = [&] { content.form.ShowTrigger(letter); };
    QGuiApplication::clipboard()->setText(QStringLiteral("for the memo"));
    const fs::path file = content.Data() / "memo.rtf";
    content.Desktop().fileDialogAnswer = file.u16string();
    content.rtf.cmdPasteRTF->click();
    QCOMPARE(RichText(file), QStringLiteral("for the memo"));
    QCOMPARE(content.window.triggers.Slot(memo).ReplaceRTFFile, file.u16string());
    QCOMPARE(content.window.triggers.Slot(letter).ReplaceRTFFile,
             (content.files.Path() / "letter.rtf").u16string());
    QCOMPARE(content.window.triggers.CurrentTrigger, memo);
    QCOMPARE(content.Preview(), QStringLiteral("for the memo"));
}

// A name typed into the save dialog that is a file there already, without
// its extension: the file is replaced only when the user says so.
void ContentPagesTest::TheSaveDialogAsksBeforeReplacingAFile() {
    TemporaryFolder folder("tavro-dialogs");
    WriteFile(folder.Path() / "a.rtf", "kept");
    FileDialogBoxes dialogs;
    FileDialogOptions options;
    options.folder = folder.Path().u16string();
    options.filters = {std::u16string(kRichTextFilter)};
    options.defaultExtension = u"rtf";
    // No: back in the dialog, which is then cancelled.
    WhenShown<QFileDialog>([](QFileDialog& dialog) {
        WhenShown<QMessageBox>([](QMessageBox& question) {
            question.button(QMessageBox::No)->click();
            WhenShown<QFileDialog>([](QFileDialog& again) { again.reject(); });
        });
        TypeFileName(dialog, QStringLiteral("a"));
    });
    QCOMPARE(dialogs.GetSaveFileName(options), std::nullopt);
    WhenShown<QFileDialog>([](QFileDialog& dialog) {
        WhenShown<QMessageBox>(
            [](QMessageBox& question) { question.button(QMessageBox::Yes)->click(); });
        TypeFileName(dialog, QStringLiteral("a"));
    });
    QCOMPARE(dialogs.GetSaveFileName(options), (folder.Path() / "a.rtf").u16string());
}

// The content files were read when the triggers were loaded: firing reads
// none, so nothing delays the Backspaces, whatever the size of the file.
void ContentPagesTest::FiringErasesBeforeAnyFileIsRead() {
    ContentWindow content;
    const std::vector<std::string> pasted = content.Fire(u"rtf");
    QCOMPARE(pasted, (std::vector<std::string>{
                         kBack, kBack, kBack,
                         R"(Clipboard.SetRichText(")" + content.form.ReplaceRTF() + R"("))"}));
    QVERIFY(content.form.ReplaceRTF().find("friend") != std::string::npos);
    // Another trigger's file changed on disk is not read by this firing.
    WriteFile(content.files.Path() / "letter.rtf", R"({\rtf1\ansi Dear {\b reader}\par})");
    QCOMPARE(content.Fire(u"img"),
             (std::vector<std::string>{kBack, kBack, kBack, "Clipboard.SetTriggerPicture()"}));
    QCOMPARE(content.form.TriggerPicture().pixelColor(0, 0), QColor(Qt::red));
    // The window shows the trigger fired once the firing is over.
    QCoreApplication::processEvents();
    QCOMPARE(content.form.txtTrigger->text(), QStringLiteral("img"));
    QCOMPARE(content.image.picImage->pixmap().size(), QSize(4, 4));
    // Fired out of sight, it is drawn when the window opens.
    content.form.HideForm();
    content.Fire(u"rtf");
    QCoreApplication::processEvents();
    content.form.CenterForm();
    QCoreApplication::processEvents();
    QCOMPARE(content.Preview(), QStringLiteral("Dear reader"));
}

// A file changed on disk, in place or replaced as editors save, is read
// again; a missing, empty or broken one leaves the typed trigger and the
// clipboard alone until it is there again.
void ContentPagesTest::TheFileOnDiskIsWhatFiringPastes() {
    ContentWindow content;
    const fs::path letter = content.files.Path() / "letter.rtf";
    const fs::path red = content.files.Path() / "red.png";
    content.Show(u"rtf");
    WriteFile(letter, R"({\rtf1\ansi Dear {\b reader}\par})");
    QVERIFY(content.ReadAgain(letter));
    QCOMPARE(content.Preview(), QStringLiteral("Dear reader"));
    const fs::path saved = content.files.Path() / "red.png.new";
    QVERIFY(Filled(7, 7, Qt::yellow).save(Q(saved), "PNG"));
    fs::rename(saved, red);
    QVERIFY(content.ReadAgain(red));
    QVERIFY(content.Pastes(u"rtf", "reader"));
    QCOMPARE(content.Fire(u"img"),
             (std::vector<std::string>{kBack, kBack, kBack, "Clipboard.SetTriggerPicture()"}));
    QCOMPARE(content.form.TriggerPicture().size(), QSize(7, 7));
    WriteFile(red, "no picture");
    QVERIFY(content.ReadAgain(red));
    QCOMPARE(content.Fire(u"img"), std::vector<std::string>{});

    const std::string kept = ReadFile(letter);
    fs::remove(letter);
    QVERIFY(content.ReadAgain(letter));
    QCOMPARE(content.Fire(u"rtf"), std::vector<std::string>{});
    WriteFile(letter, "");
    QVERIFY(content.ReadAgain(letter));
    QCOMPARE(content.Fire(u"rtf"), std::vector<std::string>{});
    WriteFile(letter, kept);
    QVERIFY(content.ReadAgain(letter));
    QVERIFY(content.Pastes(u"rtf", "reader"));

    // A change the watch has not reported yet is still seen when firing.
    WriteFile(letter, R"({\rtf1\ansi Dear {\b all}\par})");
    QVERIFY(content.Pastes(u"rtf", "all"));
}

}  // namespace tavro::test

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    tavro::test::ContentPagesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ContentPagesTest.moc"
