#pragma once

#include <functional>

#include <QComboBox>

namespace tavro {

// The type box cboType: an editable box offering the four types and an
// empty line, into which nothing can be typed. A typed character goes to
// `onKeyPress` instead (the letters pick a type there); cutting, deleting,
// pasting and dropping text are refused, so the box only ever holds what the
// program or the list put there.
class TypeComboBox final : public QComboBox {
  public:
    explicit TypeComboBox(QWidget* parent = nullptr);

    // Shows the text, selecting its line when the list has one; raises no
    // signal.
    void SetTypeText(const QString& text);

    std::function<void(char16_t)> onKeyPress;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Whether the key was taken from the box.
    bool TakeKey(const QKeyEvent& key);
};

}  // namespace tavro
