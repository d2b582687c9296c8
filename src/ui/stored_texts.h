// The message and caption texts that the program keeps in the current language, each cut to
// the fixed length its place allows.
#pragma once

#include <QHash>
#include <QString>

#include "ui/text_table.h"

namespace quorvex {

// Text numbers the program refers to by name.
namespace text {
constexpr int kSingleInstance = 53;
constexpr int kPasswordCaption = 42;
constexpr int kPasswordPrompt = 43;
constexpr int kMasterCodeCaption = 44;
constexpr int kMasterCodePrompt = 45;
constexpr int kWrongPassword = 46;
constexpr int kWrongMasterCode = 47;
constexpr int kResultTab1 = 157;
constexpr int kResultTab2 = 158;
constexpr int kNoProjectOpen = 167;
constexpr int kSaveLastTestInSeries = 168;
constexpr int kNoTests = 170;
constexpr int kSaveLastTestInProject = 175;
constexpr int kSaveSeriesFirst = 176;
constexpr int kCaptionWarning = 345;
constexpr int kCaptionError = 346;
constexpr int kCaptionInformation = 347;
constexpr int kCaptionConfirmation = 348;
constexpr int kProjectCannotBeCreated = 550;
constexpr int kInvalidInput = 567;
constexpr int kTestPanel = 88;          // "Versuch", the title of the live panel
constexpr int kSimulatedMachine = 851;  // the banner of the simulated machine
constexpr int kSimulatedCard = 866;     // "simuliert": a simulated card in the about box
// Captions of the program's own numbers.
constexpr int kStartReadyTrue = 836;   // "Startbereit = True"
constexpr int kStartReadyFalse = 837;  // "Startbereit = False"
constexpr int kLimitMin = 838;         // "min :"
constexpr int kLimitMax = 839;         // "max :"
constexpr int kIdentifier = 841;       // "Identfeld"
constexpr int kRemoveExtensometer = 842;
// The status line after a test: the acquisition thread's missed deadlines (%1).
constexpr int kMissedDeadlines = 733;
constexpr int kInfoMenu = 843;
constexpr int kDimensionOk = 844;  // "OK / F3"
constexpr int kStopButton = 845;
constexpr int kReferenceRunButton = 846;
constexpr int kTareCounter = 847;
constexpr int kTareCounterExit = 848;
constexpr int kMessageWindow = 849;  // "Meldung"
constexpr int kInputDialog = 850;    // "Eingabe", the inputs after the test
constexpr int kStartPositionButton = 852;
constexpr int kSelection = 853;    // "Auswahl"
constexpr int kNoPort = 854;       // "None"
constexpr int kStartButton = 855;  // the specimen dialog's OK in start mode
constexpr int kOkButton = 856;     // ... and in plain mode
constexpr int kStartAborted = 857;  // "Abbruch "
constexpr int kForceReadout = 858;
constexpr int kTravelReadout = 859;
constexpr int kStrainReadout = 860;
constexpr int kFourthReadout = 861;
}  // namespace text

// The title prefix stays the product word in every language.
inline const QString kTitlePrefix = QStringLiteral("QuorveX");

class StoredTexts {
  public:
    // Filled in German from the built-in table.
    StoredTexts();
    // Filled from another table (tests, or a table read from elsewhere).
    explicit StoredTexts(const TextTable& table);

    // Loads every stored text of the language with this base and cuts it to its length.
    void Apply(int base);

    // A stored text in the current language; a number without a place of its own is read
    // from the table (German where the language has none).
    QString Text(int number) const {
        const auto stored = texts_.constFind(number);
        return stored != texts_.constEnd() ? *stored : table_.Text(number, base_);
    }
    int Base() const { return base_; }
    QString TitlePrefix() const { return titlePrefix_; }

    // The longest text a stored number keeps (0 for a number that is not stored).
    static int MaxLength(int number);

  private:
    const TextTable& table_;
    int base_ = 0;
    QHash<int, QString> texts_;
    QString titlePrefix_ = kTitlePrefix;
};

}  // namespace quorvex
