#include "editor/frmSplash.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/PageLayout.h"
#include "editor/ScreenCentre.h"
#include "store/StoreStatements.h"

namespace tavro {

namespace {

constexpr int kIconSize = 64;
constexpr int kTextWidth = 400;

QLabel* TextLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setFixedWidth(kTextWidth);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

frmSplash::frmSplash(const std::filesystem::path& programFolder)
    : cmdClose(Named(new QPushButton(QStringLiteral("Close"), this), "cmdClose")) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("About Tavro!"));

    auto* icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(kIconSize, kIconSize));
    auto* name = new QLabel(QStringLiteral("Tavro!"), this);
    QFont large = name->font();
    large.setPointSizeF(large.pointSizeF() * 2);
    large.setBold(true);
    name->setFont(large);
    auto* heading = new QVBoxLayout;
    heading->addWidget(name);
    heading->addWidget(
        new QLabel(QStringLiteral("Version %1").arg(QString::fromLatin1(TAVRO_VERSION)), this));
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(heading, 1);

    const QString database =
        QString::fromStdU16String((programFolder / kDatabaseFileName).u16string());
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(TextLabel(
        QStringLiteral("When what you type in any application ends with one of your triggers, "
                       "Tavro replaces it with its text, rich text or picture, or opens a "
                       "program."),
        this));
    layout->addWidget(TextLabel(
        QStringLiteral("Tavro runs in the notification area. Right-click its icon to send a "
                       "trigger with the mouse, or choose Open there to edit your triggers."),
        this));
    layout->addWidget(
        TextLabel(QStringLiteral("Your triggers are kept in %1.").arg(database), this));
    layout->addSpacing(layout->spacing());
    layout->addWidget(cmdClose, 0, Qt::AlignRight);
    // As large as its text, no larger.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Timer1.setSingleShot(true);
    Timer1.setInterval(kSplashMilliseconds);
    connect(&Timer1, &QTimer::timeout, this, &QWidget::close);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

void frmSplash::ShowSplash() {
    Timer1.start();
    ShowOnTop(false);
}

void frmSplash::ShowAbout() {
    Timer1.stop();
    cmdClose->setEnabled(true);
    ShowOnTop(true);
}

void frmSplash::ShowOnTop(bool activate) {
    setAttribute(Qt::WA_ShowWithoutActivating, !activate);
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (!isVisible()) {
        adjustSize();
        MoveToScreenCentre(*this);
    }
    show();
    raise();
    if (activate) {
        activateWindow();
    }
}

}  // namespace tavro
