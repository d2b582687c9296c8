// Read-outs and jog buttons.
#include "shell/live_widgets.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstring>

namespace quorvex {

LiveReadout::LiveReadout(const QString& caption, const QString& unit, QWidget* parent)
    : QFrame(parent), caption_(caption), unit_(unit) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QFont mono = font();
    mono.setFamily(QStringLiteral("monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    mono.setPointSize(mono.pointSize() + 4);
    setFont(mono);
}

void LiveReadout::SetText(std::string_view text) {
    const std::size_t length = std::min(text.size(), text_.size() - 1);
    if (length == length_ && std::memcmp(text_.data(), text.data(), length) == 0) return;
    std::memcpy(text_.data(), text.data(), length);
    text_[length] = '\0';
    length_ = length;
    update();
}

QString LiveReadout::Text() const {
    return QString::fromLatin1(text_.data(), static_cast<qsizetype>(length_));
}

QSize LiveReadout::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(QStringLiteral("F: 0000.0000 kN  ")) + 8,
            metrics.height() + 8};
}

void LiveReadout::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawText(contentsRect().adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     caption_ + QLatin1Char(' ') + Text() + unit_);
}

void LiveReadout::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && Clicked) {
        Clicked();
        return;
    }
    QFrame::mousePressEvent(event);
}

JogButton::JogButton(Qt::ArrowType arrow, QWidget* parent) : QToolButton(parent) {
    setArrowType(arrow);
    setFocusPolicy(Qt::ClickFocus);
}

void JogButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) setFocus(Qt::MouseFocusReason);
    setDown(true);
    if (Pressed) Pressed(event->button());
}

void JogButton::mouseReleaseEvent(QMouseEvent* event) {
    setDown(false);
    if (Released) Released();
    event->accept();
}

void JogButton::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat() && Released) Released();
    QToolButton::keyReleaseEvent(event);
}

}  // namespace quorvex
