// The rich-text and image pages of the main window on their real widgets,
// with real files, the real clipboard of the offscreen platform and file
// dialogs that the tests answer (or Qt's own, driven like a user drives
// them).

#include <sys/stat.h>

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

#include <fstream>

#include "editing/ContentFileTexts.h"
#include "editing/TypePages.h"
#include "editor/DefaultPicture.h"
#include "editor/FileDialogBoxes.h"
#include "editor/ImagePage.h"
#include "editor/MainWindowFixture.h"
#include "editor/ModalDialogs.h"
#include "editor/ProgramBadge.h"
#include "editor/RichTextBox.h"
#include "editor/RichTextPage.h"
#include "platform/fake/CallLog.h"
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

QImage ReadPicture(const fs::path& path, QByteArray* format = nullptr) {
    QImageReader reader(Q(path));
    if (format != nullptr) {
        *format = reader.format();
    }
    return reader.read();
}

std::string MessageBox(std::u16string_view text, std::u16string_view title) {
    return fake::FormatCall("MessageBox", {fake::Quoted(text), fake::Quoted(title), "Exclamation"});
}

void AnswerQuestion(QMessageBox::StandardButton answer) {
    WhenShown<QMessageBox>([answer](QMessageBox& box) { box.button(answer)->click(); });
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
    explicit ContentWindow(FileDialogs* dialogs = nullptr)
        : window(ContentTriggers(files.Path()), {}, dialogs) {}

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
    // The save dialog asked for a file of the type, in the data folder.
    std::string SaveDialog(std::u16string_view filter, std::u16string_view extension) const {
        return fake::FormatCall("SaveFileDialog",
                                {fake::Quoted(Data().u16string()), fake::Quoted(u""),
                                 fake::Quoted(filter), fake::Quoted(extension)});
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
    void ShowingATriggerLoadsItsPreviewAndPictureOrEmptiesThem();
    void ATypedPathShowsItsFileAtOnceAndStoresIt();
    void LoadPicksAFileAndCancelledChangesNothing();
    void NewRtfMakesAnEmptyFileAndOpensIt();
    void PasteRtfSavesTheClipboardsContent();
    void PastedPicturesAreSavedAsOpaqueWindowsBitmaps();
    void NewImageSavesTheDefaultPictureAndOpensIt();
    void CancelledDialogsLeaveEverythingAsItWas();
    void SaveFailuresGiveTheirMessagesAndChangeNothing();
    void RefreshShowsTheSavedFileAndReportsAMissingOne();
    void AFiringDuringTheDialogDoesNotMisplaceTheFile();
    void TheDialogsOpenInTheDataFolderAndAddTheExtension();
    void DecliningToReplaceKeepsTheOldFileByteForByte();
    void FiringErasesBeforeAnyFileIsRead();
    void AFileChangedOnDiskIsWhatFiringPastes();
    void AMissingFileLeavesTheTypedTriggerUntilItIsThere();
};

void ContentPagesTest::ShowingATriggerLoadsItsPreviewAndPictureOrEmptiesThem() {
    ContentWindow content;
    content.Show(u"rtf");
    QCOMPARE(content.Preview(), QStringLiteral("Dear friend"));
    QVERIFY(content.form.ReplaceRTF().find("friend") != std::string::npos);
    QVERIFY(content.form.HasReplaceRTF());
    content.Show(u"img");
    QCOMPARE(content.form.TriggerPicture().pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(content.image.picImage->pixmap().width(), 4);
    content.Show(u"pic");
    QVERIFY(!content.form.HasTriggerPicture());
    QCOMPARE(QString::fromStdU16String(content.form.ReplaceText()), QStringLiteral("[picture]"));

    // A file that is not there, or is empty, holds nothing to paste.
    const fs::path gone = content.files.Path() / "gone.rtf";
    content.Record(u"memo").ReplaceRTFFile = gone.u16string();
    content.Show(u"memo");
    QCOMPARE(content.Preview(), QString());
    QVERIFY(!content.form.HasReplaceRTF());
    WriteFile(gone, "");
    content.Show(u"memo");
    QVERIFY(!content.form.HasReplaceRTF());
}

void ContentPagesTest::ATypedPathShowsItsFileAtOnceAndStoresIt() {
    ContentWindow content;
    content.Show(u"memo");
    QCOMPARE(content.form.SSTab1->currentIndex(), kRichTextPage);
    QVERIFY(!content.rtf.cmdEditRTF->isEnabled());
    QVERIFY(content.rtf.txtReplaceRTF->isReadOnly());

    const QString letter = Q(content.files.Path() / "letter.rtf");
    content.rtf.txtRTFFile->setFocus();
    QTest::keyClicks(content.rtf.txtRTFFile, letter);
    QCOMPARE(content.Preview(), QStringLiteral("Dear friend"));
    QVERIFY(content.rtf.cmdEditRTF->isEnabled());
    QVERIFY(content.form.HasReplaceRTF());
    QCOMPARE(QString::fromStdU16String(content.Record(u"memo").ReplaceRTFFile), letter);
    QVERIFY(content.window.triggers.TriggersDirty);
    // One more letter: no file there.
    QTest::keyClicks(content.rtf.txtRTFFile, QStringLiteral("x"));
    QCOMPARE(content.Preview(), QString());
    QVERIFY(!content.rtf.cmdEditRTF->isEnabled());
    QVERIFY(!content.form.HasReplaceRTF());

    // The picture that firing pastes follows the typed path too.
    content.Show(u"img");
    QCOMPARE(content.form.TriggerPicture().size(), QSize(4, 4));
    QVERIFY(content.image.cmdEditImage->isEnabled());
    content.image.txtImageFile->setFocus();
    QTest::keyClick(content.image.txtImageFile, Qt::Key_End);
    QTest::keyClick(content.image.txtImageFile, Qt::Key_Backspace);
    QVERIFY(content.form.TriggerPicture().isNull());
    QVERIFY(!content.image.cmdEditImage->isEnabled());
    QVERIFY(content.image.picImage->pixmap().isNull());
    QTest::keyClicks(content.image.txtImageFile, QStringLiteral("g"));
    QCOMPARE(content.form.TriggerPicture().pixelColor(0, 0), QColor(Qt::red));
    QVERIFY(content.image.cmdEditImage->isEnabled());
    QCOMPARE(content.image.picImage->pixmap().size(), QSize(4, 4));
}

void ContentPagesTest::LoadPicksAFileAndCancelledChangesNothing() {
    ContentWindow content;
    const fs::path letter = content.files.Path() / "letter.rtf";
    content.Show(u"memo");
    content.Desktop().fileDialogAnswer = std::nullopt;
    content.rtf.cmdLoadRTF->click();
    QVERIFY(content.Record(u"memo").ReplaceRTFFile.empty());
    QVERIFY(!content.window.triggers.TriggersDirty);
    // Without a file the dialog opens in the data folder.
    QCOMPARE(content.Calls(),
             std::vector<std::string>{fake::FormatCall(
                 "OpenFileDialog", {fake::Quoted(content.Data().u16string()), fake::Quoted(u""),
                                    fake::Quoted(kRichTextFilter), fake::Quoted(u"")})});

    content.Desktop().fileDialogAnswer = letter.u16string();
    content.rtf.cmdLoadRTF->click();
    QCOMPARE(content.Record(u"memo").ReplaceRTFFile, letter.u16string());
    QVERIFY(content.window.triggers.TriggersDirty);
    QCOMPARE(content.Preview(), QStringLiteral("Dear friend"));
    QVERIFY(content.rtf.cmdEditRTF->isEnabled());

    // With a file it opens where the file is, the file chosen; a JPEG is
    // stored as it is, and no bitmap is written.
    content.Show(u"img");
    content.ClearCalls();
    const fs::path photo = content.files.Path() / "photo.jpg";
    QVERIFY(Filled(3, 2, Qt::blue).save(Q(photo), "JPEG"));
    content.Desktop().fileDialogAnswer = photo.u16string();
    content.image.cmdLoadImage->click();
    QCOMPARE(
        content.Calls(),
        std::vector<std::string>{fake::FormatCall(
            "OpenFileDialog", {fake::Quoted(content.files.Path().u16string()),
                               fake::Quoted((content.files.Path() / "red.png").u16string()),
                               fake::Quoted(kAllPicturesFilter) + "|" +
                                   fake::Quoted(kBitmapFilter) + "|" + fake::Quoted(kJpegFilter) +
                                   "|" + fake::Quoted(kGifFilter) + "|" + fake::Quoted(kPngFilter),
                               fake::Quoted(u"")})});
    QCOMPARE(content.Record(u"img").ReplaceImageFile, photo.u16string());
    QCOMPARE(content.form.TriggerPicture().size(), QSize(3, 2));
    QVERIFY(fs::is_empty(content.Data()));
}

void ContentPagesTest::NewRtfMakesAnEmptyFileAndOpensIt() {
    ContentWindow content;
    content.Show(u"memo");
    const fs::path memo = content.Data() / "memo.rtf";
    content.Desktop().fileDialogAnswer = memo.u16string();
    content.rtf.cmdNewRTF->click();

    QVERIFY(fs::is_regular_file(memo));
    QVERIFY(ReadRtf(ReadFile(memo)).isRtf);
    QCOMPARE(RichText(memo), QString());
    QCOMPARE(content.Record(u"memo").ReplaceRTFFile, memo.u16string());
    QCOMPARE(content.rtf.txtRTFFile->text(), Q(memo));
    QVERIFY(content.rtf.cmdEditRTF->isEnabled());
    // Empty, it has nothing to paste yet.
    QVERIFY(!content.form.HasReplaceRTF());
    QVERIFY(content.rtf.txtReplaceRTF->isReadOnly());
    // Opened in the word processor at once; Refresh stays until another
    // trigger is shown.
    QCOMPARE(content.Calls().back(), content.Opened(memo));
    QVERIFY(content.rtf.cmdReloadRTF->isVisibleTo(&content.rtf));
    content.Show(u"rtf");
    QVERIFY(!content.rtf.cmdReloadRTF->isVisibleTo(&content.rtf));

    // Edit RTF opens the file of the box.
    content.ClearCalls();
    content.rtf.cmdEditRTF->click();
    QCOMPARE(content.Calls(),
             std::vector<std::string>{content.Opened(content.files.Path() / "letter.rtf")});
    QVERIFY(content.rtf.cmdReloadRTF->isVisibleTo(&content.rtf));
}

void ContentPagesTest::PasteRtfSavesTheClipboardsContent() {
    ContentWindow content;
    content.Show(u"memo");
    QGuiApplication::clipboard()->setText(QStringLiteral("Plain words\nand a second line"));
    const fs::path plain = content.Data() / "plain.rtf";
    content.Desktop().fileDialogAnswer = plain.u16string();
    content.rtf.cmdPasteRTF->click();
    QCOMPARE(RichText(plain), QStringLiteral("Plain words\r\nand a second line"));
    QCOMPARE(content.Record(u"memo").ReplaceRTFFile, plain.u16string());
    QCOMPARE(content.Preview(), QStringLiteral("Plain words\r\nand a second line"));
    QVERIFY(content.rtf.txtReplaceRTF->isReadOnly());
    QVERIFY(!content.rtf.cmdReloadRTF->isVisibleTo(&content.rtf));  // Paste opens nothing
    QVERIFY(content.Calls().back().starts_with("SaveFileDialog"));

    // Rich text keeps its formatting; the file is the trigger's content.
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/rtf"),
                  R"({\rtf1\ansi{\colortbl;\red200\green0\blue0;}Kind {\b\cf1 regards}\par})");
    QGuiApplication::clipboard()->setMimeData(data);
    const fs::path formatted = content.Data() / "formatted.rtf";
    content.Desktop().fileDialogAnswer = formatted.u16string();
    content.rtf.cmdPasteRTF->click();
    const Document saved = ReadRtf(ReadFile(formatted)).document;
    QCOMPARE(saved.paragraphs.size(), std::size_t{1});
    const auto& bold = std::get<TextRun>(saved.paragraphs[0].runs.back());
    QCOMPARE(QString::fromStdU16String(bold.text), QStringLiteral("regards"));
    QVERIFY(bold.format.bold);
    QVERIFY(bold.format.textColor == (Color{200, 0, 0}));
    QVERIFY(content.form.ReplaceRTF().find("regards") != std::string::npos);

    // A picture becomes a rich-text file holding it.
    QGuiApplication::clipboard()->setImage(Filled(5, 3, Qt::green));
    const fs::path picture = content.Data() / "picture.rtf";
    content.Desktop().fileDialogAnswer = picture.u16string();
    content.rtf.cmdPasteRTF->click();
    const Document withPicture = ReadRtf(ReadFile(picture)).document;
    QCOMPARE(withPicture.paragraphs.size(), std::size_t{1});
    QCOMPARE(std::get<Picture>(withPicture.paragraphs[0].runs[0]).width, 5);
}

void ContentPagesTest::PastedPicturesAreSavedAsOpaqueWindowsBitmaps() {
    ContentWindow content;
    content.Show(u"pic");
    QGuiApplication::clipboard()->setText(QStringLiteral("only text"));
    content.image.cmdPasteImage->click();
    QCOMPARE(content.Calls(),
             std::vector<std::string>{MessageBox(kNoImageOnClipboard, kNoImageOnClipboardTitle)});
    QVERIFY(!content.window.triggers.TriggersDirty);
    QVERIFY(fs::is_empty(content.Data()));

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
    QByteArray format;
    const QImage saved = ReadPicture(file, &format);
    QCOMPARE(format, QByteArray("bmp"));
    QCOMPARE(saved.size(), QSize(6, 4));
    QCOMPARE(saved.pixelColor(0, 0), QColor(Qt::blue));
    QCOMPARE(saved.pixelColor(5, 3), QColor(Qt::white));
    QCOMPARE(content.Record(u"pic").ReplaceImageFile, file.u16string());
    QCOMPARE(content.form.TriggerPicture().pixelColor(5, 3), QColor(Qt::white));
    QVERIFY(content.image.cmdEditImage->isEnabled());
    QVERIFY(!content.image.cmdReloadImage->isVisibleTo(&content.image));
}

void ContentPagesTest::NewImageSavesTheDefaultPictureAndOpensIt() {
    ContentWindow content;
    content.Show(u"pic");
    const fs::path file = content.Data() / "new.bmp";
    content.Desktop().fileDialogAnswer = file.u16string();
    content.image.cmdNewImage->click();

    QByteArray format;
    const QImage saved = ReadPicture(file, &format);
    QCOMPARE(format, QByteArray("bmp"));
    QCOMPARE(saved.size(), QSize(225, 75));
    QCOMPARE(saved, DrawDefaultPicture().convertToFormat(saved.format()));
    // The program's badge is in it.
    QCOMPARE(saved.pixelColor(19, 37), kBadgeNormalColour);
    QCOMPARE(content.Record(u"pic").ReplaceImageFile, file.u16string());
    QCOMPARE(content.form.TriggerPicture().size(), QSize(225, 75));
    QCOMPARE(content.Calls().back(), content.Opened(file));
    QVERIFY(content.image.cmdReloadImage->isVisibleTo(&content.image));
    QCOMPARE(content.Calls().front(), content.SaveDialog(kBitmapFilter, u"bmp"));
}

void ContentPagesTest::CancelledDialogsLeaveEverythingAsItWas() {
    ContentWindow content;
    content.Show(u"rtf");
    const std::u16string letter = content.Record(u"rtf").ReplaceRTFFile;
    content.Desktop().fileDialogAnswer = std::nullopt;
    QGuiApplication::clipboard()->setText(QStringLiteral("not wanted"));
    // While the name is asked for, the preview shows what would be saved.
    QString shownDuringTheDialog;
    content.Desktop().onFileDialog = [&] { shownDuringTheDialog = content.Preview(); };
    content.rtf.cmdPasteRTF->click();
    QCOMPARE(shownDuringTheDialog, QStringLiteral("not wanted"));
    QCOMPARE(content.Preview(), QStringLiteral("Dear friend"));
    QVERIFY(content.form.HasReplaceRTF());
    content.rtf.cmdNewRTF->click();
    QCOMPARE(content.Preview(), QStringLiteral("Dear friend"));
    QCOMPARE(content.Record(u"rtf").ReplaceRTFFile, letter);

    content.Show(u"img");
    const std::u16string red = content.Record(u"img").ReplaceImageFile;
    QGuiApplication::clipboard()->setImage(Filled(2, 2, Qt::green));
    QSize shownSize;
    content.Desktop().onFileDialog = [&] { shownSize = content.image.picImage->pixmap().size(); };
    content.image.cmdPasteImage->click();
    QCOMPARE(shownSize, QSize(2, 2));
    content.image.cmdNewImage->click();
    QCOMPARE(shownSize, QSize(225, 75));
    // The picture firing pastes is still the trigger's.
    QCOMPARE(content.form.TriggerPicture().pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(content.image.picImage->pixmap().size(), QSize(4, 4));
    QCOMPARE(content.Record(u"img").ReplaceImageFile, red);

    QVERIFY(!content.window.triggers.TriggersDirty);
    QVERIFY(fs::is_empty(content.Data()));
    for (const std::string& call : content.Calls()) {
        QVERIFY2(call.starts_with("SaveFileDialog"), call.c_str());
    }
}

void ContentPagesTest::SaveFailuresGiveTheirMessagesAndChangeNothing() {
    ContentWindow content;
    // Places nobody may write, not even the administrator: a folder of the
    // kernel's, and a "folder" that is a file.
    const fs::path blocker = content.files.Path() / "not-a-folder";
    WriteFile(blocker, "x");
    // A read-only file is not replaced either.
    const fs::path readOnly = content.Data() / "kept.rtf";
    WriteFile(readOnly, "kept");
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read);

    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    for (const fs::path& target :
         {fs::path("/proc/tavro-test.rtf"), blocker / "new.rtf", readOnly}) {
        content.Show(u"rtf");
        content.ClearCalls();
        content.Desktop().fileDialogAnswer = target.u16string();
        content.rtf.cmdNewRTF->click();
        content.rtf.cmdPasteRTF->click();
        const std::string dialog = content.SaveDialog(kRichTextFilter, u"rtf");
        QCOMPARE(content.Calls(),
                 (std::vector<std::string>{
                     dialog, MessageBox(kNewRichTextFailed, kCannotSaveFileTitle), dialog,
                     MessageBox(kPasteRichTextFailed, kCannotSaveFileTitle)}));
        QCOMPARE(content.Preview(), QStringLiteral("Dear friend"));
        QCOMPARE(content.Record(u"rtf").ReplaceRTFFile,
                 (content.files.Path() / "letter.rtf").u16string());

        content.Show(u"img");
        content.ClearCalls();
        QGuiApplication::clipboard()->setImage(Filled(2, 2, Qt::green));
        content.image.cmdNewImage->click();
        content.image.cmdPasteImage->click();
        const std::string bitmapDialog = content.SaveDialog(kBitmapFilter, u"bmp");
        QCOMPARE(content.Calls(),
                 (std::vector<std::string>{
                     bitmapDialog, MessageBox(kNewImageFailed, kNewImageFailedTitle), bitmapDialog,
                     MessageBox(kPasteImageFailed, kCannotSaveFileTitle)}));
        QCOMPARE(content.form.TriggerPicture().pixelColor(0, 0), QColor(Qt::red));
        QCOMPARE(content.image.picImage->pixmap().size(), QSize(4, 4));
        QCOMPARE(content.Record(u"img").ReplaceImageFile,
                 (content.files.Path() / "red.png").u16string());
        QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    }
    QVERIFY(!content.window.triggers.TriggersDirty);
    QCOMPARE(ReadFile(readOnly), std::string("kept"));
    const std::vector<fs::path> left(fs::directory_iterator(content.Data()), {});
    QCOMPARE(left, std::vector<fs::path>{readOnly});  // nothing half-written stays
}

void ContentPagesTest::RefreshShowsTheSavedFileAndReportsAMissingOne() {
    ContentWindow content;
    content.Show(u"rtf");
    const fs::path letter = content.files.Path() / "letter.rtf";
    content.rtf.cmdEditRTF->click();
    // Saved in the word processor.
    WriteFile(letter, R"({\rtf1\ansi Dear {\b reader}\par})");
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
    QVERIFY(!content.rtf.cmdEditRTF->isEnabled());
    QCOMPARE(content.Record(u"rtf").ReplaceRTFFile, letter.u16string());

    content.Show(u"img");
    const fs::path red = content.files.Path() / "red.png";
    content.image.cmdEditImage->click();
    QVERIFY(Filled(7, 7, Qt::yellow).save(Q(red), "PNG"));
    content.image.cmdReloadImage->click();
    QCOMPARE(content.form.TriggerPicture().size(), QSize(7, 7));
    QCOMPARE(content.image.picImage->pixmap().size(), QSize(7, 7));

    content.ClearCalls();
    WriteFile(red, "no picture");
    content.image.cmdReloadImage->click();
    QCOMPARE(content.Calls().size(), std::size_t{1});
    QVERIFY(content.Calls()[0].starts_with("MessageBox(\"Cannot read " + red.string() + ": "));
    QVERIFY(content.form.TriggerPicture().isNull());
    QVERIFY(content.image.picImage->pixmap().isNull());
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

void ContentPagesTest::TheDialogsOpenInTheDataFolderAndAddTheExtension() {
    TemporaryFolder folder("tavro-dialogs");
    for (const char* name : {"a.rtf", "B.RTF", "c.txt"}) {
        WriteFile(folder.Path() / name, "x");
    }
    FileDialogBoxes dialogs;
    FileDialogOptions save;
    save.folder = folder.Path().u16string();
    save.filters = {std::u16string(kRichTextFilter)};
    save.defaultExtension = u"rtf";

    QStringList listed;
    WhenShown<QFileDialog>([&](QFileDialog& dialog) {
        QCOMPARE(dialog.directory().absolutePath(), Q(folder.Path()));
        listed = ListedFiles(dialog, 2);  // both cases of the pattern, nothing else
        TypeFileName(dialog, QStringLiteral("memo"));
    });
    QCOMPARE(dialogs.GetSaveFileName(save), (folder.Path() / "memo.rtf").u16string());
    QCOMPARE(listed, (QStringList{QStringLiteral("a.rtf"), QStringLiteral("B.RTF")}));

    // A name with an extension of its own keeps it.
    WhenShown<QFileDialog>([](QFileDialog& dialog) { TypeFileName(dialog, "notes.txt"); });
    QCOMPARE(dialogs.GetSaveFileName(save), (folder.Path() / "notes.txt").u16string());

    WhenShown<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
    QCOMPARE(dialogs.GetSaveFileName(save), std::nullopt);

    // The open dialog starts on the current file.
    FileDialogOptions open;
    open.folder = folder.Path().u16string();
    open.file = (folder.Path() / "B.RTF").u16string();
    open.filters = save.filters;
    WhenShown<QFileDialog>([](QFileDialog& dialog) {
        QTest::keyClick(dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")),
                        Qt::Key_Return);
    });
    QCOMPARE(dialogs.GetOpenFileName(open), open.file);
}

void ContentPagesTest::DecliningToReplaceKeepsTheOldFileByteForByte() {
    FileDialogBoxes dialogs;
    ContentWindow content(&dialogs);
    const fs::path other = content.Data() / "other.rtf";
    const std::string otherContent = "{\\rtf1\\ansi another trigger's letter\\par}\r\n\x01\xff";
    WriteFile(other, otherContent);
    content.Show(u"memo");
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));

    // The user types the name of a file that is there, and answers No.
    bool asked = false;
    WhenShown<QFileDialog>([&](QFileDialog& dialog) {
        WhenShown<QMessageBox>([&](QMessageBox& question) {
            asked = question.text().contains(QStringLiteral("other.rtf"));
            question.button(QMessageBox::No)->click();
            // Back in the dialog, which is still open: Cancel.
            WhenShown<QFileDialog>([](QFileDialog& again) { again.reject(); });
        });
        TypeFileName(dialog, QStringLiteral("other"));
    });
    content.rtf.cmdPasteRTF->click();
    QVERIFY(asked);
    QCOMPARE(ReadFile(other), otherContent);
    QVERIFY(content.Record(u"memo").ReplaceRTFFile.empty());
    QVERIFY(!content.window.triggers.TriggersDirty);

    // Yes replaces it.
    WhenShown<QFileDialog>([&](QFileDialog& dialog) {
        AnswerQuestion(QMessageBox::Yes);
        TypeFileName(dialog, QStringLiteral("other.rtf"));
    });
    content.rtf.cmdPasteRTF->click();
    QCOMPARE(RichText(other), QStringLiteral("pasted"));
    QCOMPARE(content.Record(u"memo").ReplaceRTFFile, other.u16string());
}

// The content files were read when the triggers were loaded: firing reads
// none, so nothing delays the Backspaces, whatever the size of the file.
void ContentPagesTest::FiringErasesBeforeAnyFileIsRead() {
    ContentWindow content;
    const fs::path red = content.files.Path() / "red.png";
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
    QCOMPARE(content.image.txtImageFile->text(), Q(red));
    // Fired out of sight, it is drawn when the window opens.
    content.form.HideForm();
    content.Fire(u"rtf");
    QCoreApplication::processEvents();
    content.form.CenterForm();
    QCoreApplication::processEvents();
    QCOMPARE(content.Preview(), QStringLiteral("Dear reader"));
}

void ContentPagesTest::AFileChangedOnDiskIsWhatFiringPastes() {
    ContentWindow content;
    const fs::path letter = content.files.Path() / "letter.rtf";
    const fs::path red = content.files.Path() / "red.png";
    content.Show(u"rtf");
    // Written in place, and saved the way editors save: a new file that
    // takes the old one's name.
    WriteFile(letter, R"({\rtf1\ansi Dear {\b reader}\par})");
    QVERIFY(content.ReadAgain(letter));
    QCOMPARE(content.Preview(), QStringLiteral("Dear reader"));
    const fs::path saved = content.files.Path() / "red.png.new";
    QVERIFY(Filled(7, 7, Qt::yellow).save(Q(saved), "PNG"));
    fs::rename(saved, red);
    QVERIFY(content.ReadAgain(red));

    const std::vector<std::string> pasted = content.Fire(u"rtf");
    QCOMPARE(pasted.size(), std::size_t{4});
    QCOMPARE(pasted[2], kBack);
    QVERIFY(pasted[3].find("reader") != std::string::npos);
    QCOMPARE(content.Fire(u"img"),
             (std::vector<std::string>{kBack, kBack, kBack, "Clipboard.SetTriggerPicture()"}));
    QCOMPARE(content.form.TriggerPicture().size(), QSize(7, 7));
    QCoreApplication::processEvents();
    QCOMPARE(content.image.picImage->pixmap().size(), QSize(7, 7));

    // A change the watch has not reported yet is still seen when firing.
    content.window.platform.log.Clear();
    WriteFile(letter, R"({\rtf1\ansi Dear {\b all}\par})");
    const std::vector<std::string> late = content.Fire(u"rtf");
    QVERIFY(late.back().find("all") != std::string::npos);
}

// A missing file leaves the typed trigger and the clipboard alone; once the
// file is there, firing pastes it.
void ContentPagesTest::AMissingFileLeavesTheTypedTriggerUntilItIsThere() {
    ContentWindow content;
    const fs::path letter = content.files.Path() / "letter.rtf";
    const std::string kept = ReadFile(letter);
    fs::remove(letter);
    QVERIFY(content.ReadAgain(letter));
    QCOMPARE(content.Fire(u"rtf"), std::vector<std::string>{});
    // An empty file has nothing to paste either.
    WriteFile(letter, "");
    QVERIFY(content.ReadAgain(letter));
    QCOMPARE(content.Fire(u"rtf"), std::vector<std::string>{});
    WriteFile(letter, kept);
    QVERIFY(content.ReadAgain(letter));
    const std::vector<std::string> pasted = content.Fire(u"rtf");
    QCOMPARE(pasted.size(), std::size_t{4});
    QVERIFY(pasted[3].find("friend") != std::string::npos);
}

}  // namespace tavro::test

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    tavro::test::ContentPagesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ContentPagesTest.moc"
