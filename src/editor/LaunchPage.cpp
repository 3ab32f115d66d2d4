#include "editor/LaunchPage.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "editing/CommandLineDrop.h"
#include "editor/ExecutableFileDialog.h"
#include "editor/PageLayout.h"
#include "editor/SelectAllOnFocus.h"

namespace tavro {

namespace {

bool OffersCommandLine(const QMimeData& data) {
    return data.hasUrls() || data.hasText();
}

}  // namespace

CommandLineBox::CommandLineBox(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("txtCommandLine"));
    setAcceptDrops(true);
    SelectAllOnFocus(*this);
}

void CommandLineBox::dragEnterEvent(QDragEnterEvent* event) {
    if (OffersCommandLine(*event->mimeData())) {
        event->acceptProposedAction();
    }
}

void CommandLineBox::dragMoveEvent(QDragMoveEvent* event) {
    if (OffersCommandLine(*event->mimeData())) {
        event->acceptProposedAction();
    }
}

void CommandLineBox::dropEvent(QDropEvent* event) {
    const QMimeData& data = *event->mimeData();
    std::vector<std::u16string> files;
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile()) {
            files.push_back(url.toLocalFile().toStdU16String());
        }
    }
    std::optional<std::u16string> text;
    if (data.hasText()) {
        text = data.text().toStdU16String();
    }
    event->acceptProposedAction();
    if (const std::optional<std::u16string> dropped = CommandLineFromDrop(files, text)) {
        setText(QString::fromStdU16String(*dropped));
        if (onDropped) {
            onDropped();
        }
    }
}

LaunchPage::LaunchPage(QWidget* parent)
    : QWidget(parent),
      Label8(Named(new QLabel(QStringLiteral("Command Line"), this), "Label8")),
      txtCommandLine(new CommandLineBox(this)),
      cmdCommandLine(Named(new QPushButton(QStringLiteral("..."), this), "cmdCommandLine")) {
    txtCommandLine->setToolTip(
        QStringLiteral("A program, desktop entry, file, folder or web address to open, as one "
                       "name without arguments. Drop a file here to use its path."));
    cmdCommandLine->setToolTip(QStringLiteral("Choose a program"));
    SetBrowseButtonWidth(*cmdCommandLine);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Label8, 0, 0);
    layout->addWidget(txtCommandLine, 1, 0);
    layout->addWidget(cmdCommandLine, 1, 1);
    layout->setRowStretch(2, 1);
    layout->setColumnStretch(0, 1);
}

std::optional<QString> LaunchPage::BrowseForProgram() {
    const QFileInfo current(txtCommandLine->text());
    return ExecutableFileDialog::GetProgram(this,
                                            current.isFile() ? current.absolutePath() : QString());
}

}  // namespace tavro
