// Key filters installed on line edits.
#include "ui/key_filters.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace quorvex {
namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kEnter = 13;

bool IsDigit(QChar key) { return key >= u'0' && key <= u'9'; }

class KeyFilter : public QObject {
public:
    using Rule = QChar (*)(QChar);
    KeyFilter(QLineEdit* field, Rule rule) : QObject(field), field_(field), rule_(rule) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != field_) return false;
        // A field reached by Enter (the dialog moves the focus itself) is selected as a field
        // reached by Tab is, so that typing replaces its value instead of appending to it.
        if (event->type() == QEvent::FocusIn &&
            static_cast<QFocusEvent*>(event)->reason() == Qt::OtherFocusReason) {
            field_->selectAll();
            return false;
        }
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        // Keys that type nothing, and the shortcuts with Ctrl (copy, paste, undo), pass.
        if (typed.isEmpty() || (key->modifiers() & Qt::ControlModifier)) return false;
        if (typed.size() != 1) return true;
        // Tab, Backtab and Escape arrive with a control character but type nothing: they
        // move the focus or close the dialog as everywhere else.
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
            key->key() == Qt::Key_Escape) {
            return false;
        }
        const QChar passed = rule_(typed[0]);
        if (passed.isNull()) return true;
        if (passed == typed[0]) return false;
        field_->insert(QString(passed));
        return true;
    }

private:
    QLineEdit* field_;
    Rule rule_;
};

}  // namespace

QChar DecimalKeyRule(QChar key) {
    if (key == u',') return QChar(u'.');
    if (IsDigit(key) || key == u'-' || key == u'.' || key == QChar(kBackspace) ||
        key == QChar(kEnter)) {
        return key;
    }
    return QChar();
}

QChar IntegerKeyRule(QChar key) {
    if (IsDigit(key) || key == u'+' || key == u'-' || key == QChar(kBackspace) ||
        key == QChar(kEnter)) {
        return key;
    }
    return QChar();
}

void AttachDecimalKeyFilter(QLineEdit* field) {
    field->installEventFilter(new KeyFilter(field, &DecimalKeyRule));
}

void AttachIntegerKeyFilter(QLineEdit* field) {
    field->installEventFilter(new KeyFilter(field, &IntegerKeyRule));
}

}  // namespace quorvex
