// The small widgets of the live display: a read-out that repaints only when its text
// changes and keeps it in a fixed buffer (the measuring tick hands it new text every 50 ms),
// and the jog buttons, which act on press and release of either mouse button.
#pragma once

#include <QFrame>
#include <QToolButton>
#include <array>
#include <functional>
#include <string_view>

namespace quorvex {

class LiveReadout : public QFrame {
    Q_OBJECT
  public:
    LiveReadout(const QString& caption, const QString& unit, QWidget* parent = nullptr);

    void SetText(std::string_view text);
    // The letter before the value, in the operator's language.
    void SetCaption(const QString& caption) {
        caption_ = caption;
        update();
    }
    QString Caption() const { return caption_; }
    QString Text() const;

    // Left click (the "Tara Counter" popup).
    std::function<void()> Clicked;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QString caption_, unit_;
    std::array<char, 32> text_{};
    std::size_t length_ = 0;
};

class JogButton : public QToolButton {
    Q_OBJECT
  public:
    explicit JogButton(Qt::ArrowType arrow, QWidget* parent = nullptr);

    std::function<void(Qt::MouseButton)> Pressed;
    std::function<void()> Released;  // mouse release, or a key released on the button

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};

}  // namespace quorvex
