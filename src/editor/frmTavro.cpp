#include "editor/frmTavro.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <set>
#include <utility>

#include "editing/FormLifecycle.h"
#include "editing/HelpCommands.h"
#include "editing/ImageFileCommands.h"
#include "editing/RichTextFileCommands.h"
#include "editing/TriggerEditor.h"
#include "editing/TypePages.h"
#include "editor/ApplicationListsPage.h"
#include "editor/ImagePage.h"
#include "editor/KeyBufferView.h"
#include "editor/LaunchPage.h"
#include "editor/NewTriggerPage.h"
#include "editor/PageLayout.h"
#include "editor/RichTextBox.h"
#include "editor/RichTextPage.h"
#include "editor/ScreenCentre.h"
#include "editor/SelectAllOnFocus.h"
#include "editor/SortedListBox.h"
#include "editor/TextPage.h"
#include "editor/TypeComboBox.h"
#include "editor/frmSplash.h"
#include "legend/LegendPrinter.h"
#include "output/ReplacementTokens.h"
#include "store/ApplicationListEditor.h"
#include "store/DataFolder.h"
#include "store/TriggerTable.h"

namespace tavro {

namespace {

QAction* MenuItem(QMenu& menu, const char* name, const QString& caption,
                  const QKeySequence& shortcut = {}) {
    QAction* item = menu.addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    item->setShortcut(shortcut);
    return item;
}

}  // namespace

frmTavro::frmTavro(std::filesystem::path programFolder, ContentFileReader& contentFiles)
    : programFolder_(std::move(programFolder)),
      Label1(Named(new QLabel(QStringLiteral("TriggerText - Name")), "Label1")),
      lstTriggers(new SortedListBox(QStringLiteral("lstTriggers"))),
      Label2(Named(new QLabel(QStringLiteral("Trigger Text")), "Label2")),
      txtTrigger(Named(new QLineEdit, "txtTrigger")),
      Label3(Named(new QLabel(QStringLiteral("Trigger Name")), "Label3")),
      txtDisplay(Named(new QLineEdit, "txtDisplay")),
      Label4(Named(new QLabel(QStringLiteral("Trigger Type")), "Label4")),
      cboType(new TypeComboBox),
      SSTab1(Named(new QStackedWidget, "SSTab1")),
      textPage(new TextPage),
      richTextPage(new RichTextPage(contentFiles)),
      imagePage(new ImagePage(contentFiles)),
      launchPage(new LaunchPage),
      keyBufferView(new KeyBufferView),
      applicationListsPage(new ApplicationListsPage),
      newTriggerPage(new NewTriggerPage) {
    setObjectName(QStringLiteral("frmTavro"));
    setWindowTitle(QStringLiteral("Tavro!"));
    SelectAllOnFocus(*txtTrigger);
    SelectAllOnFocus(*txtDisplay);
    txtTrigger->setToolTip(
        QStringLiteral("The keys that fire the trigger, for example ;sig. Special keys are "
                       "written in angle brackets: <enter>, <tab>, <f5>."));
    txtDisplay->setToolTip(QStringLiteral("The name shown in the list and in the tray menu"));
    cboType->setToolTip(QStringLiteral("Text, RTF, Image or Launch: type T, R, I or L"));
    BuildMenus();
    BuildLayout();
    WireControls();
    WatchActivation();
    // The window has its handle from the start, also while hidden: the key
    // capture tells the program's own window by it.
    winId();
}

frmTavro::~frmTavro() = default;

void frmTavro::Attach(const Handlers& handlers) {
    handlers_.emplace(handlers);
}

void frmTavro::BuildMenus() {
    QMenu& file = *menuBar()->addMenu(QStringLiteral("&File"));
    file.setObjectName(QStringLiteral("mnuFile"));
    connect(MenuItem(file, "mnuNewTrigger", QStringLiteral("&New Trigger"),
                     QKeySequence(Qt::CTRL | Qt::Key_N)),
            &QAction::triggered, this, ToEditor(&TriggerEditor::mnuNewTrigger_Click));
    connect(MenuItem(file, "mnuSave", QStringLiteral("&Save Triggers"),
                     QKeySequence(Qt::CTRL | Qt::Key_S)),
            &QAction::triggered, this, [this] {
                if (handlers_) {
                    handlers_->editor->mnuSave_Click();
                }
            });
    file.addSeparator();
    connect(MenuItem(file, "mnuDelete", QStringLiteral("&Delete Trigger"),
                     QKeySequence(Qt::Key_Delete)),
            &QAction::triggered, this, ToEditor(&TriggerEditor::mnuDelete_Click));
    file.addSeparator();
    connect(MenuItem(file, "mnuPrint", QStringLiteral("&Print Triggers"),
                     QKeySequence(Qt::CTRL | Qt::Key_P)),
            &QAction::triggered, this, &frmTavro::mnuPrint_Click);
    file.addSeparator();
    connect(MenuItem(file, "mnuFileExit", QStringLiteral("E&xit")), &QAction::triggered, this,
            &frmTavro::mnuFileExit_Click);

    QMenu& options = *menuBar()->addMenu(QStringLiteral("&Options"));
    options.setObjectName(QStringLiteral("mnuOptions"));
    connect(MenuItem(options, "mnuSetup", QStringLiteral("&Setup SendKey / TextOnly Apps")),
            &QAction::triggered, this, &frmTavro::mnuSetup_Click);

    QMenu& help = *menuBar()->addMenu(QStringLiteral("&Help"));
    help.setObjectName(QStringLiteral("mnuHelp"));
    connect(MenuItem(help, "mnuIndex", QStringLiteral("&Index")), &QAction::triggered, this,
            Forward(&Handlers::help, &HelpCommands::mnuIndex_Click));
    connect(MenuItem(help, "mnuHelpContents", QStringLiteral("&Contents")), &QAction::triggered,
            this, Forward(&Handlers::help, &HelpCommands::mnuHelpContents_Click));
    help.addSeparator();
    connect(MenuItem(help, "mnuWelcome", QStringLiteral("&Welcome")), &QAction::triggered, this,
            Forward(&Handlers::help, &HelpCommands::mnuWelcome_Click));
    connect(MenuItem(help, "mnuTutorial", QStringLiteral("&Tutorial")), &QAction::triggered, this,
            Forward(&Handlers::help, &HelpCommands::mnuTutorial_Click));
    help.addSeparator();
    connect(MenuItem(help, "mnuHelpAbout", QStringLiteral("&About")), &QAction::triggered, this,
            &frmTavro::mnuHelpAbout_Click);

    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            &frmTavro::ShowHelpForFocus);
}

void frmTavro::BuildLayout() {
    for (QWidget* page :
         std::initializer_list<QWidget*>{textPage, richTextPage, imagePage, launchPage,
                                         keyBufferView, applicationListsPage, newTriggerPage}) {
        SSTab1->addWidget(page);
    }
    SSTab1->setFrameShape(QFrame::StyledPanel);
    SSTab1->setCurrentIndex(kNewTriggerPage);

    auto* list = new QVBoxLayout;
    list->addWidget(Label1);
    list->addWidget(lstTriggers, 1);

    auto* trigger = new QGridLayout;
    trigger->addWidget(Label2, 0, 0);
    trigger->addWidget(Label3, 0, 1);
    trigger->addWidget(Label4, 0, 2);
    trigger->addWidget(txtTrigger, 1, 0);
    trigger->addWidget(txtDisplay, 1, 1);
    trigger->addWidget(cboType, 1, 2);
    trigger->addWidget(SSTab1, 2, 0, 1, 3);
    trigger->setRowStretch(2, 1);
    trigger->setColumnStretch(0, 4);
    trigger->setColumnStretch(1, 5);
    trigger->setColumnStretch(2, 2);

    auto* columns = new QHBoxLayout;
    columns->addLayout(list, 2);
    columns->addLayout(trigger, 5);

    // An etched rule under the menu bar.
    auto* rule = new QFrame;
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(rule);
    layout->addLayout(columns, 1);
    setCentralWidget(central);
    resize(760, 500);
    setMinimumSize(620, 420);

    // The Tab key runs through the list, the header fields and then the
    // controls of the page in front only (the other pages are out of sight).
    setTabOrder(lstTriggers, txtTrigger);
    setTabOrder(txtTrigger, txtDisplay);
    setTabOrder(txtDisplay, cboType);
    setTabOrder(cboType, textPage->txtReplaceText);
}

void frmTavro::WireControls() {
    // The list shows the line chosen after the selection has settled: the
    // save this may run rebuilds the list.
    connect(lstTriggers, &QListWidget::currentRowChanged, this,
            ToEditor(&TriggerEditor::lstTriggers_Click), Qt::QueuedConnection);
    // Every change the user makes to a field (typing, pasting, dropping) is
    // stored at once, as a released key would store it.
    connect(txtTrigger, &QLineEdit::textEdited, this, ToEditor(&TriggerEditor::txtTrigger_KeyUp));
    connect(txtDisplay, &QLineEdit::textEdited, this, ToEditor(&TriggerEditor::txtDisplay_KeyUp));
    connect(textPage->txtReplaceText, &QPlainTextEdit::textChanged, this,
            ToEditor(&TriggerEditor::txtReplaceText_KeyUp));
    connect(launchPage->txtCommandLine, &QLineEdit::textEdited, this,
            ToEditor(&TriggerEditor::txtCommandLine_KeyUp));
    launchPage->txtCommandLine->onDropped = ToEditor(&TriggerEditor::txtCommandLine_KeyUp);

    connect(cboType, &QComboBox::activated, this, ToEditor(&TriggerEditor::cboType_Click));
    cboType->onKeyPress = [this](char16_t character) {
        if (handlers_) {
            handlers_->editor->cboType_KeyPress(character);
        }
    };

    connect(textPage->cmdInsertDate, &QPushButton::clicked, this, &frmTavro::cmdInsertDate_Click);
    connect(textPage->cmdInsertTime, &QPushButton::clicked, this, &frmTavro::cmdInsertTime_Click);
    connect(textPage->cmdPasteText, &QPushButton::clicked, this, &frmTavro::cmdPasteText_Click);
    connect(textPage->cmdBack, &QPushButton::clicked, this,
            ToEditor(&TriggerEditor::cmdBack_Click));
    connect(launchPage->cmdCommandLine, &QPushButton::clicked, this,
            &frmTavro::cmdCommandLine_Click);

    ApplicationListsPage& lists = *applicationListsPage;
    connect(lists.cmdAddSendKey, &QPushButton::clicked, this,
            Forward(&Handlers::lists, &ApplicationListEditor::cmdAddSendKey_Click));
    connect(lists.cmdDeleteSendKey, &QPushButton::clicked, this,
            Forward(&Handlers::lists, &ApplicationListEditor::cmdDeleteSendKey_Click));
    connect(lists.cmdAddTextOnly, &QPushButton::clicked, this,
            Forward(&Handlers::lists, &ApplicationListEditor::cmdAddTextOnly_Click));
    connect(lists.cmdDeleteTextOnly, &QPushButton::clicked, this,
            Forward(&Handlers::lists, &ApplicationListEditor::cmdDeleteTextOnly_Click));

    connect(newTriggerPage->cmdCancelNewTrigger, &QPushButton::clicked, this,
            ToEditor(&TriggerEditor::cmdCancelNewTrigger_Click));
    WireContentPages();
}

void frmTavro::WireContentPages() {
    RichTextPage& rtf = *richTextPage;
    // A typed path is stored and its file shown at once.
    connect(rtf.txtRTFFile, &QLineEdit::textEdited, this,
            ToEditor(&TriggerEditor::txtRTFFile_KeyUp));
    connect(rtf.txtRTFFile, &QLineEdit::textEdited, this,
            Forward(&Handlers::richTextFile, &RichTextFileCommands::txtRTFFile_Change));
    const auto toRichTextFile = [this](QPushButton* button,
                                       void (RichTextFileCommands::*handler)()) {
        connect(button, &QPushButton::clicked, this, Forward(&Handlers::richTextFile, handler));
    };
    toRichTextFile(rtf.cmdLoadRTF, &RichTextFileCommands::cmdLoadRTF_Click);
    toRichTextFile(rtf.cmdNewRTF, &RichTextFileCommands::cmdNewRTF_Click);
    toRichTextFile(rtf.cmdEditRTF, &RichTextFileCommands::cmdEditRTF_Click);
    toRichTextFile(rtf.cmdPasteRTF, &RichTextFileCommands::cmdPasteRTF_Click);
    toRichTextFile(rtf.cmdReloadRTF, &RichTextFileCommands::cmdReloadRTF_Click);
    connect(rtf.cmdAlternateTextRTF, &QPushButton::clicked, this,
            ToEditor(&TriggerEditor::cmdAlternateText_Click));

    ImagePage& image = *imagePage;
    connect(image.txtImageFile, &QLineEdit::textEdited, this,
            ToEditor(&TriggerEditor::txtImageFile_KeyUp));
    connect(image.txtImageFile, &QLineEdit::textEdited, this,
            Forward(&Handlers::imageFile, &ImageFileCommands::txtImageFile_Change));
    const auto toImageFile = [this](QPushButton* button, void (ImageFileCommands::*handler)()) {
        connect(button, &QPushButton::clicked, this, Forward(&Handlers::imageFile, handler));
    };
    toImageFile(image.cmdLoadImage, &ImageFileCommands::cmdLoadImage_Click);
    toImageFile(image.cmdNewImage, &ImageFileCommands::cmdNewImage_Click);
    toImageFile(image.cmdEditImage, &ImageFileCommands::cmdEditImage_Click);
    toImageFile(image.cmdPasteImage, &ImageFileCommands::cmdPasteImage_Click);
    toImageFile(image.cmdReloadImage, &ImageFileCommands::cmdReloadImage_Click);
    connect(image.cmdAlternateTextImg, &QPushButton::clicked, this,
            ToEditor(&TriggerEditor::cmdAlternateText_Click));
}

// The form is activated again when it becomes the active window coming back
// from another window of the program (a dialog, a message box, the About
// window), not when the user comes back from another application: returning
// to the window finds it as it was left.
void frmTavro::WatchActivation() {
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* active) {
        if (active == nullptr) {
            backFromOwnWindow_ = false;
        } else if (active == windowHandle()) {
            if (std::exchange(backFromOwnWindow_, false)) {
                Form_Activate();
            }
        } else if (active->type() != Qt::Popup && active->type() != Qt::ToolTip) {
            backFromOwnWindow_ = true;
        }
    });
}

template <typename Rules>
std::function<void()> frmTavro::Forward(Rules* Handlers::*rules, void (Rules::*handler)()) {
    return [this, rules, handler] {
        if (handlers_) {
            Rules* target = (*handlers_).*rules;
            (target->*handler)();
        }
    };
}

void frmTavro::CenterForm() {
    const bool wasHidden = isHidden();
    EnableEditFields(true);
    setWindowState(windowState() & ~Qt::WindowMinimized);
    MoveToScreenCentre(*this);
    show();
    raise();
    activateWindow();
    // Out of sight the list had the focus; an activation that reached the
    // hidden window (as leaving the minimised state can bring) may have
    // moved it on to the first control that was enabled then.
    if (wasHidden) {
        lstTriggers->setFocus();
    }
}

void frmTavro::HideForm() {
    hide();
    EnableEditFields(false);
    lstTriggers->setFocus();
}

void frmTavro::FocusMainWindow() {
    if (isVisible()) {
        raise();
        activateWindow();
    }
}

void frmTavro::ShowSplash() {
    if (!splash_) {
        splash_ = std::make_unique<frmSplash>(programFolder_);
    }
    splash_->ShowSplash();
}

void frmTavro::mnuHelpAbout_Click() {
    if (!splash_) {
        splash_ = std::make_unique<frmSplash>(programFolder_);
    }
    splash_->ShowAbout();
}

void frmTavro::mnuPrint_Click() {
    if (handlers_) {
        handlers_->legend->mnuPrint(*handlers_->triggers);
    }
}

void frmTavro::mnuSetup_Click() {
    ShowPage(kApplicationListsPage);
}

SortedListBox& frmTavro::SendKeyList() {
    return *applicationListsPage->lstSendKey;
}

SortedListBox& frmTavro::TextOnlyList() {
    return *applicationListsPage->lstTextOnly;
}

QImage frmTavro::TriggerPicture() const {
    return imagePage->TriggerPicture();
}

bool frmTavro::HasReplaceRTF() {
    return richTextPage->HasReplaceRTF();
}

QLineEdit* frmTavro::LineEditOf(EditorField field) const {
    switch (field) {
        case EditorField::txtTrigger:
            return txtTrigger;
        case EditorField::txtDisplay:
            return txtDisplay;
        case EditorField::txtRTFFile:
            return richTextPage->txtRTFFile;
        case EditorField::txtImageFile:
            return imagePage->txtImageFile;
        case EditorField::txtCommandLine:
            return launchPage->txtCommandLine;
        case EditorField::txtReplaceText:
            break;
    }
    return nullptr;
}

void frmTavro::SetFieldText(EditorField field, const std::u16string& text) {
    QLineEdit* edit = LineEditOf(field);
    if (edit == nullptr) {
        textPage->SetReplaceText(text);
        return;
    }
    // An unchanged text keeps its caret and selection.
    const QString shown = QString::fromStdU16String(text);
    if (edit->text() != shown) {
        edit->setText(shown);
    }
}

std::u16string frmTavro::FieldText(EditorField field) {
    const QLineEdit* edit = LineEditOf(field);
    return edit != nullptr ? edit->text().toStdU16String() : textPage->ReplaceText();
}

void frmTavro::SetTypeText(const std::u16string& text) {
    cboType->SetTypeText(QString::fromStdU16String(text));
}

std::u16string frmTavro::TypeText() {
    return cboType->currentText().toStdU16String();
}

void frmTavro::ShowPage(int page) {
    SSTab1->setCurrentIndex(page);
}

void frmTavro::SetBackVisible(bool visible) {
    textPage->cmdBack->setVisible(visible);
}

void frmTavro::SelectListRow(int row) {
    lstTriggers->SetListIndex(row);
}

void frmTavro::FocusTriggerList() {
    lstTriggers->setFocus();
}

void frmTavro::FocusField(EditorField field) {
    if (QLineEdit* edit = LineEditOf(field)) {
        edit->setFocus();
    } else {
        textPage->txtReplaceText->setFocus();
    }
}

std::u16string frmTavro::ActiveControlName() {
    const QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr || focus->window() != this) {
        return {};
    }
    for (const QWidget* control = focus; control != nullptr && control != this;
         control = control->parentWidget()) {
        const QString name = control->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_"))) {
            return name.toStdU16String();
        }
    }
    return {};
}

void frmTavro::mnuNewTrigger() {
    if (handlers_) {
        handlers_->editor->mnuNewTrigger_Click();
    }
}

void frmTavro::EnableEditFields(bool enabled) {
    if (enabled == fieldsEnabled_) {
        return;
    }
    fieldsEnabled_ = enabled;
    for (QWidget* control : findChildren<QWidget*>()) {
        const QString name = control->objectName();
        if (name.contains(QLatin1String("txt")) || name.contains(QLatin1String("cbo"))) {
            control->setEnabled(enabled);
        }
    }
}

// Firing shows the trigger it fires before it erases the typed trigger:
// what it pastes was read ahead when the table was loaded, and the previews
// are drawn once the firing is over, so that neither a file read nor the
// drawing of a large file delays the erasing.
void frmTavro::ShowTrigger(int slot) {
    if (!handlers_) {
        return;
    }
    richTextPage->Preview().SetDrawLater(true);
    imagePage->Preview().SetDrawLater(true);
    handlers_->editor->ShowTrigger(slot);
    richTextPage->Preview().SetDrawLater(false);
    imagePage->Preview().SetDrawLater(false);
}

// Reads ahead the content files of every trigger, found where showing the
// trigger finds them. Files read before are not read again: the pages keep
// them up to date as they change.
void frmTavro::PrepareContentFiles() {
    if (!handlers_) {
        return;
    }
    // Marking a file found in the data folder for the next save is left to
    // showing the trigger.
    const TriggerTable& table = *handlers_->triggers;
    std::set<std::u16string> richTextFiles;
    std::set<std::u16string> pictureFiles;
    for (int slot = 0; slot < table.UsedSlots(); ++slot) {
        const TriggerRecord& record = table.Slot(slot);
        richTextFiles.insert(LocateContentFile(record.ReplaceRTFFile, programFolder_));
        pictureFiles.insert(LocateContentFile(record.ReplaceImageFile, programFolder_));
    }
    richTextFiles.erase(u"");
    pictureFiles.erase(u"");
    richTextPage->Preview().Prepare(richTextFiles);
    imagePage->Preview().Prepare(pictureFiles);
}

std::u16string frmTavro::ReplaceText() {
    return textPage->ReplaceText();
}

std::string frmTavro::ReplaceRTF() {
    return richTextPage->ReplaceRTF();
}

std::u16string frmTavro::CommandLine() {
    return launchPage->txtCommandLine->text().toStdU16String();
}

bool frmTavro::HasTriggerPicture() {
    return !TriggerPicture().isNull();
}

WindowHandle frmTavro::MainWindowHandle() {
    return static_cast<WindowHandle>(winId());
}

void frmTavro::SetModifierChecks(bool alt, bool ctrl, bool shift, bool capsLock) {
    keyBufferView->SetModifierChecks(alt, ctrl, shift, capsLock);
}

void frmTavro::SetBufferTexts(const std::u16string& keyBuffer, const std::u16string& keyDiary) {
    keyBufferView->SetBufferTexts(keyBuffer, keyDiary);
}

void frmTavro::Form_Activate() {
    if (handlers_) {
        handlers_->lifecycle->Form_Activate();
    }
}

// Minimising ends in the hidden state, not in the desktop's minimised one.
void frmTavro::Form_Resize() {
    if (!isMinimized()) {
        return;
    }
    EnableEditFields(false);
    lstTriggers->setFocus();
    // Back to the normal state first: leaving the minimised state maps the
    // window on X11, so the hiding has to come after it.
    setWindowState(windowState() & ~Qt::WindowMinimized);
    HideForm();
}

void frmTavro::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        // Once the desktop has finished minimising the window.
        QTimer::singleShot(0, this, &frmTavro::Form_Resize);
    }
}

void frmTavro::closeEvent(QCloseEvent* event) {
    if (handlers_ && !handlers_->lifecycle->Form_Unload()) {
        event->ignore();
        return;
    }
    event->accept();
    if (onUnload) {
        onUnload();
    }
}

void frmTavro::cmdInsertDate_Click() {
    textPage->InsertAtCaret(QString::fromStdU16String(std::u16string(kTokenDate)));
}

void frmTavro::cmdInsertTime_Click() {
    textPage->InsertAtCaret(QString::fromStdU16String(std::u16string(kTokenTime)));
}

void frmTavro::cmdPasteText_Click() {
    textPage->PasteClipboardText();
}

void frmTavro::cmdCommandLine_Click() {
    if (const std::optional<QString> program = launchPage->BrowseForProgram()) {
        launchPage->txtCommandLine->setText(*program);
        if (handlers_) {
            handlers_->editor->txtCommandLine_KeyUp();
        }
    }
}

void frmTavro::ShowHelpForFocus() {
    const QWidget* focus = QApplication::focusWidget();
    std::optional<int> page;
    if (focus != nullptr && SSTab1->isAncestorOf(focus)) {
        page = SSTab1->currentIndex();
    }
    if (handlers_) {
        handlers_->help->ShowHelp(page);
    }
}

}  // namespace tavro
