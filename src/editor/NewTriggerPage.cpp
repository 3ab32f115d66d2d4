#include "editor/NewTriggerPage.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/PageLayout.h"

namespace tavro {

NewTriggerPage::NewTriggerPage(QWidget* parent)
    : QWidget(parent),
      Label11(Named(
          new QLabel(QStringLiteral(
                         "To add a new trigger: Type in the Trigger box the keystrokes you would "
                         "like to trigger the event. In the Display Text box, type in a friendly "
                         "name to identify this trigger. In the trigger Type box, select the type "
                         "of trigger this is going to be. When you select a type, this screen "
                         "will change to an entry screen for the type you specified. Press <F1> "
                         "for help."),
                     this),
          "Label11")),
      cmdCancelNewTrigger(Named(new QPushButton(QStringLiteral("&Cancel New Trigger"), this),
                                "cmdCancelNewTrigger")) {
    Label11->setWordWrap(true);
    Label11->setTextFormat(Qt::PlainText);
    Label11->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label11);
    layout->addStretch(1);
    layout->addWidget(cmdCancelNewTrigger, 0, Qt::AlignRight);
}

}  // namespace tavro
