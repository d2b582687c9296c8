// Every language on the main window and on every dialog it keeps or opens on demand: no
// caption is blank, every word of a caption comes from the language's column of the text
// table (or is one of the few captions that read alike in every language), and in the four
// translations no caption is still the German text of a row that the language translates
// differently.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <vector>

#include "definitions/results_definition_dialog.h"
#include "specimen/dimension_dialog.h"
#include "results/filter_dialog.h"
#include "specimen/import_dialogs.h"
#include "results/results_editor.h"
#include "specimen/screw_specimen_dialog.h"
#include "specimen/type_specimen_dialog.h"
#include "setup/calibration_dialog.h"
#include "setup/sensor_choice_dialog.h"
#include "shell/lu_dialog.h"
#include "ui/captions.h"
#include "ui/language_dialog.h"
#include "ui/text_table.h"
#include "window_fixture.h"

namespace quorvex {
namespace {

QString Plain(const QString& caption) {
    return WithoutAccelerator(caption).trimmed();
}

// The German texts that this language replaces: a caption equal to one of them was left
// untranslated. Texts that the language uses itself somewhere ("Start", "Info") do not count.
QSet<QString> GermanOnly(int base) {
    const TextTable& table = BuiltInTextTable();
    QSet<QString> german, own;
    for (const int number : table.Numbers()) {
        const QString de = Plain(table.Cell(number, 0));
        const QString translated = Plain(table.Text(number, base));
        own.insert(translated);
        if (de != translated && !de.isEmpty()) german.insert(de);
    }
    return german.subtract(own);
}

QStringList WordsOf(const QString& text) {
    static const QRegularExpression word(QStringLiteral("\\p{L}{3,}"));
    QStringList words;
    for (auto it = word.globalMatch(text); it.hasNext();) words << it.next().captured();
    return words;
}

// The words of the language's column of the table, and the words of the captions that read
// alike in every language: the language dialog (it is asked before any language is known),
// the about box's product lines and card names, the units, the symbols of the results and
// the two captions the program fixes word for word ("Aktiv", "Offset").
QSet<QString> TabledWords(int base) {
    const TextTable& table = BuiltInTextTable();
    QSet<QString> words;
    for (const int number : table.Numbers()) {
        for (const QString& w : WordsOf(Plain(table.Text(number, base)))) words.insert(w);
    }
    for (const char* fixed :
         {"Language", "Selection", "German", "English", "French", "Dutch", "Italian", "Quorvex",
          "QuorveX", "Version", "Hardware", "ADLINK", "PCI", "HEIDENHAIN", "sec", "msec", "min",
          "MPa", "Psi", "Aktiv", "Offset", "Auto", "ReH", "ReL", "FeH", "FeL", "Agt", "lgt",
          "lut", "Amax", "Lmax", "Smax", "Swx", "Tau", "Phi", "Rtf", "fct", "cpk", "Sig", "Eps"}) {
        words.insert(QString::fromLatin1(fixed));
    }
    return words;
}

struct Caption {
    QString Text;
    bool MustHaveText;
    QString Where;
    bool Data = false;  // an entry of a list: thread sizes, ports, the rows of a user table
};

QString Describe(const QObject* o) {
    return QString::fromLatin1(o->metaObject()->className()) + QLatin1Char(' ') + o->objectName();
}

// Every caption of a window and its children: labels, buttons, group boxes, tab texts, menu
// items, list entries and the window titles.
std::vector<Caption> CaptionsOf(QWidget* window) {
    std::vector<Caption> captions;
    captions.push_back({window->windowTitle(), true, Describe(window) + " (title)"});
    for (QObject* o : window->findChildren<QObject*>()) {
        // A dialog of its own is checked as the operator sees it: once shown.
        bool nested = false;
        for (const QObject* up = o; up != window && up != nullptr; up = up->parent()) {
            nested = nested || qobject_cast<const QDialog*>(up) != nullptr;
        }
        if (nested) continue;
        const bool numbered = TextNumberOf(o) != 0;
        const QString where = Describe(o);
        if (auto* label = qobject_cast<QLabel*>(o)) {
            captions.push_back({label->text(), numbered, where});
        } else if (auto* button = qobject_cast<QAbstractButton*>(o)) {
            const bool plainButton =
                qobject_cast<QPushButton*>(o) != nullptr && button->icon().isNull();
            captions.push_back({button->text(), numbered || plainButton, where});
        } else if (auto* group = qobject_cast<QGroupBox*>(o)) {
            captions.push_back({group->title(), numbered, where});
        } else if (auto* tabs = qobject_cast<QTabWidget*>(o)) {
            for (int i = 0; i < tabs->count(); ++i) {
                captions.push_back({tabs->tabText(i), true, where + " tab " + QString::number(i)});
            }
        } else if (auto* menu = qobject_cast<QMenu*>(o)) {
            // A popup menu has no title; a menu of the menu bar has its caption.
            captions.push_back({menu->title(), numbered, where});
        } else if (auto* action = qobject_cast<QAction*>(o)) {
            if (!action->isSeparator()) captions.push_back({action->text(), numbered, where});
        } else if (auto* list = qobject_cast<QComboBox*>(o)) {
            for (int i = 0; i < list->count(); ++i) {
                captions.push_back(
                    {list->itemText(i), false, where + " item " + QString::number(i), true});
            }
        }
    }
    return captions;
}

class LanguageDialogsTest : public testing::WindowFixture {
  protected:
    void SetUp() override { PrepareWorkingDirectory(testing::kSimulatedDevices); }
    void TearDown() override {
        ApplyLanguage(0, texts);
        WindowFixture::TearDown();
    }

    ResultsRecord current;

    // The dialogs the window builds when they are called for, built now in the current
    // language as the window would.
    std::vector<std::unique_ptr<QDialog>> OnDemandDialogs() {
        std::vector<std::unique_ptr<QDialog>> dialogs;
        ParameterSet& p = test->Parameters;
        dialogs.push_back(std::make_unique<TLuDialog>(ui, window.get()));
        dialogs.push_back(std::make_unique<TImportDlg>(ui, p, SpecimenFinder{}, window.get()));
        dialogs.push_back(std::make_unique<TGImportDlg>(ui, p, LimitFinder{}, window.get()));
        dialogs.push_back(std::make_unique<TMessdosenDlg>(ui, window.get()));
        dialogs.push_back(std::make_unique<TDehnungsaufnehmerDlg>(ui, window.get()));
        dialogs.push_back(std::make_unique<TFilterdialog>(ui, p, "dd.MM.yyyy", window.get()));
        EditorServices services;
        services.WorkingDirectory = work;
        dialogs.push_back(
            std::make_unique<TDatabaseDialog>(ui, *test, services, true, window.get()));
        for (const DefinitionKind kind :
             {DefinitionKind::Tensile, DefinitionKind::Shear, DefinitionKind::FlexuralStrength,
              DefinitionKind::Chain, DefinitionKind::Universal, DefinitionKind::Plastics,
              DefinitionKind::FlexuralModulus, DefinitionKind::Compression}) {
            dialogs.push_back(std::make_unique<ResultsDefinitionDialog>(ui, p, kind, window.get()));
        }
        // The specimen dialogs of the screw and the other test types.
        dialogs.push_back(
            std::make_unique<TProbenDatenDlg>(ui, 1, p, app.ScrewTable, current, window.get()));
        for (const int type : {3, 4, 5, 7, 9}) {
            dialogs.push_back(std::make_unique<TTypeSpecimenDlg>(ui, type, p, current, window.get()));
        }
        if (Machine* machine = window->MachineInterface()) {
            dialogs.push_back(std::make_unique<TKalibrieren>(
                ui, machine->Daq(), machineConfig->Calibration, 1.0, window.get()));
        }
        return dialogs;
    }
};

TEST_F(LanguageDialogsTest, NoBlankCaptionAndNoGermanLeftInAnyLanguage) {
    ShowWindow();
    for (const int base : {1000, 2000, 3000, 10000, 0}) {
        SCOPED_TRACE("base " + std::to_string(base));
        // Chosen from the menu, as an operator changes the language of a running window.
        const int index = base == 10000 ? 4 : base / 1000;
        WhenModal<TSpracheDlg>([index](TSpracheDlg* d) {
            QRadioButton* radio = d->findChildren<QRadioButton*>().at(index);
            radio->setChecked(true);
            QTest::keyClick(d, Qt::Key_Return);
        });
        window->Menu().ChooseLanguage->trigger();
        ASSERT_EQ(texts.Base(), base);
        const QSet<QString> tabledWords = TabledWords(base);
        const auto onDemand = OnDemandDialogs();
        const QSet<QString> germanOnly = base == 0 ? QSet<QString>() : GermanOnly(base);
        // The windows show as the operator sees them: what they caption only when shown is
        // captioned then.
        std::vector<QWidget*> windows{window.get()};
        for (QDialog* kept : window->findChildren<QDialog*>()) {
            if (kept->parent() == window.get()) windows.push_back(kept);
        }
        for (const auto& dialog : onDemand) windows.push_back(dialog.get());
        int checked = 0;
        for (QWidget* shown : windows) {
            const bool wasVisible = shown->isVisible();
            if (shown != window.get()) shown->show();
            QApplication::processEvents();
            // On a screen of 1024 x 768 (the run "shell.SmallScreen"), every dialog fits below
            // its title bar: long ones scroll or shrink.
            const QRect available = shown->screen()->availableGeometry();
            const bool smallScreen = available.size() == QSize(1024, 768);
            if (smallScreen && shown == window.get()) {
                // The main window's status line is on the screen.
                const QRect status(window->statusBar()->mapToGlobal(QPoint(0, 0)),
                                   window->statusBar()->size());
                EXPECT_TRUE(available.contains(status)) << status.y() << " + " << status.height();
            }
            if (smallScreen && shown != window.get()) {
                const QSize least = shown->minimumSizeHint().expandedTo(shown->minimumSize());
                EXPECT_LE(least.width(), 1024) << Describe(shown).toStdString();
                EXPECT_LE(least.height(), 768 - 60) << Describe(shown).toStdString();
                // Shown, it stays on the screen with room for its title bar.
                const QRect screen = shown->screen()->availableGeometry();
                EXPECT_LE(shown->height(), screen.height() - 30) << Describe(shown).toStdString();
                EXPECT_LE(shown->width(), screen.width()) << Describe(shown).toStdString();
                EXPECT_TRUE(screen.contains(shown->geometry().bottomRight()))
                    << Describe(shown).toStdString();
            }
            // A shortcut's "&" shows only where Qt turns it into one: not in a window title,
            // not in a label without a buddy.
            const QRegularExpression shortcut(QStringLiteral("&[^& ]"));
            EXPECT_FALSE(shown->windowTitle().contains(shortcut)) << Describe(shown).toStdString();
            for (const QLabel* label : shown->findChildren<QLabel*>()) {
                if (label->buddy() != nullptr || label->textFormat() == Qt::RichText) continue;
                EXPECT_FALSE(label->text().contains(shortcut))
                    << Describe(label).toStdString() << ": \"" << label->text().toStdString()
                    << "\"";
            }
            for (const Caption& c : CaptionsOf(shown)) {
                ++checked;
                if (c.MustHaveText) {
                    EXPECT_FALSE(c.Text.trimmed().isEmpty()) << c.Where.toStdString();
                }
                for (const QString& w : c.Data ? QStringList() : WordsOf(Plain(c.Text))) {
                    EXPECT_TRUE(tabledWords.contains(w))
                        << c.Where.toStdString() << ": \"" << c.Text.toStdString()
                        << "\" has the word \"" << w.toStdString() << "\" from outside the table";
                }
                EXPECT_FALSE(germanOnly.contains(Plain(c.Text)))
                    << c.Where.toStdString() << ": \"" << c.Text.toStdString() << "\"";
            }
            if (shown != window.get() && !wasVisible) shown->hide();
        }
        EXPECT_GT(checked, 500);
    }
}

}  // namespace
}  // namespace quorvex
