// The specimen data dialog's imports against a SQLite alias database set up by db init and
// filled with the laboratory's own SQL: F9 takes over a specimen found by its exact number and
// marks it for consumption, opening the import again clears the mark, and F6 takes over a
// limit set with Rp2 or Rt by the second proof strength.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

#include "gui_test_support.h"
#include "store/alias_import.h"
#include "specimen/specimen_dialog.h"
#include "store/sql_connection.h"
#include "temp_dir.h"
#include "ui/stored_texts.h"

namespace quorvex {
namespace {

using SF = SpecimenField;

class ImportDialogs : public testing_support::TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        alias.Configured = true;
        alias.Driver = QStringLiteral("sqlite");
        alias.Database = QStringLiteral("lims.sqlite");
        {
            SqlConnection connection(QStringLiteral("QSQLITE"));
            QSqlDatabase db = connection.Database();
            ASSERT_TRUE(OpenSqliteFile(db, dir / "lims.sqlite", true));
            db.close();
        }
        ASSERT_EQ(InitAliasTable(alias, dir), "");
        SqlConnection connection(QStringLiteral("QSQLITE"));
        QSqlDatabase db = connection.Database();
        ASSERT_TRUE(OpenSqliteFile(db, dir / "lims.sqlite", false));
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(QStringLiteral(
            "INSERT INTO \"ImportProbendaten\" (\"ProbenNr\", \"Kennung\", \"Probentyp\", "
            "\"Probenform\", \"Aussendurchmesser\", \"Wanddicke\", \"Probenlaenge\", "
            "\"Versuchslaenge\", \"K1\", \"K3\") VALUES ('R-17', 'Rohr 3', 2, 2, 33.7, 3.2, 80, "
            "100, 'Auftrag 4711', 'Los 9')")));
        ASSERT_TRUE(query.exec(QStringLiteral(
            "INSERT INTO \"ImportGrenzwerte\" (\"Identfeld\", \"SoMin\", \"SoMax\", \"Rp2Min\", "
            "\"Rp2Max\", \"RtMin\", \"RtMax\", \"RmMin\", \"RmMax\", \"AgMin\", \"AgMax\", "
            "\"ZMin\", \"ZMax\") VALUES ('S355', 75, 80, 360, 490, 365.5, 495.5, 470, 630, 18, 30, "
            "40, 70)")));
        db.close();

        SpecimenDialogMachine m;
        m.FindSpecimen = [this](const std::string& number) {
            return FindImportedSpecimen(alias, dir, number);
        };
        m.FindLimits = [this](const std::string& identifier) {
            return FindImportedLimits(alias, dir, identifier);
        };
        m.Imported = &mark;
        dialog.SetMachine(m);
        parameters.WriteAliasTable = 1;
        parameters.SpecimenShape = 0;
        parameters.GaugeKind = 0;
        dialog.Mode = TBtnRightDlg3::kPlainMode;
        dialog.open();
        QApplication::setActiveWindow(&dialog);
    }
    void TearDown() override {
        dialog.reject();
        TempDirTest::TearDown();
    }

    // F9, then `act` in the import dialog.
    void ImportWith(std::function<void(TImportDlg*)> act) {
        WhenModal<TImportDlg>(act);
        QTest::keyClick(dialog.SpecimenNo(), Qt::Key_F9);
    }
    void Search(QLineEdit* input, const char* text) {
        input->setText(QString::fromUtf8(text));
        QTest::keyClick(input, Qt::Key_Return);
    }

    AliasSettings alias;
    ImportedSpecimenMark mark;
    RecordedMessages messages;
    StoredTexts texts;
    UiContext ui{messages, texts, {}, nullptr};
    ParameterSet parameters;
    TBtnRightDlg3 dialog{ui, parameters};
};

TEST_F(ImportDialogs, F9TakesOverASpecimenFoundByItsExactNumber) {
    ImportWith([&](TImportDlg* d) {
        EXPECT_FALSE(d->OkButton()->isEnabled());
        Search(d->SpecimenNo(), "R-1");  // only a beginning of R-17
        EXPECT_FALSE(d->OkButton()->isEnabled());
        ASSERT_FALSE(messages.shown.empty());
        EXPECT_EQ(messages.shown.back().text, QStringLiteral("keinen Datensatz gefunden"));
        EXPECT_EQ(messages.shown.back().kind, MessageKind::Error);
        Search(d->SpecimenNo(), "R-17");
        ASSERT_TRUE(d->OkButton()->isEnabled());
        EXPECT_EQ(d->HeaderLine(0)->text(), QStringLiteral("Auftrag 4711"));
        d->HeaderLine(1)->setText(QStringLiteral("am Prüfplatz ergänzt"));
        QTest::mouseClick(d->OkButton(), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.SpecimenNo()->text(), QStringLiteral("R-17"));
    EXPECT_EQ(dialog.SpecimenId()->text(), QStringLiteral("Rohr 3"));
    EXPECT_EQ(dialog.Shapes()->checkedId(), 2);
    EXPECT_EQ(dialog.GaugeKinds()->checkedId(), 2);
    EXPECT_EQ(dialog.Input(SF::TubeD)->text(), QStringLiteral("33.700"));
    EXPECT_EQ(dialog.Input(SF::TubeA)->text(), QStringLiteral("3.200"));
    EXPECT_EQ(dialog.Input(SF::TubeLo)->text(), QStringLiteral("80.00"));
    EXPECT_EQ(dialog.Input(SF::TubeLc)->text(), QStringLiteral("100.00"));
    EXPECT_EQ(parameters.HeaderValue[0], "Auftrag 4711");
    EXPECT_EQ(parameters.HeaderValue[1], "am Prüfplatz ergänzt");
    EXPECT_EQ(parameters.HeaderValue[2], "Los 9");
    EXPECT_TRUE(mark.FromImport);
    EXPECT_EQ(mark.SpecimenNo, "R-17");

    // OK takes the imported specimen as any other.
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    EXPECT_EQ(parameters.SpecimenShape, 2);
    EXPECT_EQ(parameters.SpecimenNo, "R-17");
    EXPECT_NEAR(parameters.EffectiveSo, 306.6, 0.1);
}

TEST_F(ImportDialogs, OpeningTheImportAgainWithoutAFindClearsTheMark) {
    ImportWith([&](TImportDlg* d) {
        Search(d->SpecimenNo(), "R-17");
        QTest::mouseClick(d->OkButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(mark.FromImport);
    ImportWith([&](TImportDlg* d) {
        Search(d->SpecimenNo(), "R-99");
        d->reject();
    });
    EXPECT_FALSE(mark.FromImport);
}

TEST_F(ImportDialogs, F6TakesOverRp2OrRtByTheSecondProofStrength) {
    for (const bool rt : {false, true}) {
        SCOPED_TRACE(rt ? "Rt" : "Rp2");
        parameters.SecondProofIsRt = rt ? 1 : 0;
        parameters.Results[9].LimitMin = 1;  // Rm: replaced
        parameters.Results[0].LimitMin = 7;  // a: not named in the dialog, kept
        parameters.Results[9].LimitActive = 1;
        WhenModal<TGImportDlg>([&](TGImportDlg* d) {
            EXPECT_EQ(d->MinField(5)->text(), QStringLiteral("1"));  // the current Rm limit
            EXPECT_FALSE(d->OkButton()->isEnabled());
            Search(d->Identifier(), "S355");
            ASSERT_TRUE(d->OkButton()->isEnabled());
            EXPECT_EQ(d->MinField(4)->text(), rt ? QStringLiteral("366") : QStringLiteral("360"));
            EXPECT_EQ(d->RowName(6)->text(), QStringLiteral("Ag"));
            QTest::mouseClick(d->OkButton(), Qt::LeftButton);
        });
        QTest::keyClick(dialog.SpecimenNo(), Qt::Key_F6);
        EXPECT_FLOAT_EQ(parameters.Results[8].LimitMin, rt ? 365.5f : 360.0f);  // slot 9
        EXPECT_FLOAT_EQ(parameters.Results[8].LimitMax, rt ? 495.5f : 490.0f);
        EXPECT_FLOAT_EQ(parameters.Results[9].LimitMin, 470.0f);
        EXPECT_EQ(parameters.Results[9].LimitActive, 1);
        EXPECT_FLOAT_EQ(parameters.Results[13].LimitMax, 30.0f);  // Ag
        EXPECT_FLOAT_EQ(parameters.Results[17].LimitMin, 40.0f);  // Z
        EXPECT_FLOAT_EQ(parameters.Results[4].LimitMin, 75.0f);   // So
        EXPECT_FLOAT_EQ(parameters.Results[0].LimitMin, 7.0f);
    }
}

}  // namespace
}  // namespace quorvex
