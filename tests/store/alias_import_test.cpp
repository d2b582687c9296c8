// The import tables of the alias database against SQLite and a real PostgreSQL server: db init
// creates them, rows written by a laboratory's own SQL are found by their exact key, limit sets
// give Rp2 or Rt by the results definition, and a consumed specimen row is gone exactly once.
#include "store/alias_import.h"

#include <gtest/gtest.h>

#include <QSqlError>
#include <QSqlQuery>

#include "alias_database_fixture.h"
#include "store/sql_tables.h"

namespace quorvex {
namespace {

class ImportTest : public DatabaseTest {};

INSTANTIATE_TEST_SUITE_P(Engines, ImportTest, ::testing::Values(Engine::Sqlite, Engine::Postgres),
                         EngineName);

void Exec(QSqlDatabase& db, const QString& sql) {
    QSqlQuery query(db);
    ASSERT_TRUE(query.exec(sql)) << sql.toStdString() << ": "
                                 << query.lastError().text().toStdString();
}

int CountRows(QSqlDatabase& db, const char* table) {
    QSqlQuery query(db);
    EXPECT_TRUE(query.exec(QStringLiteral("SELECT COUNT(*) FROM ") + QuoteIdentifier(table)));
    return query.next() ? query.value(0).toInt() : -1;
}

// The tables as db init leaves them, filled the way a laboratory system would.
class FilledImportTest : public ImportTest {
  protected:
    void SetUp() override {
        ImportTest::SetUp();
        if (HasFatalFailure()) return;
        {
            QSqlDatabase db = Look(true);
            db.close();
        }
        ASSERT_EQ(InitAliasTable(alias, dir), "");
        // Twice: tables already there stay.
        ASSERT_EQ(InitAliasTable(alias, dir), "");
        QSqlDatabase db = Look();
        const QString specimen = QStringLiteral(
            "INSERT INTO \"ImportProbendaten\" (\"ProbenNr\", \"Kennung\", \"Probentyp\", "
            "\"Probenform\", \"Durchmesser\", \"Probenbreite\", \"Probendicke\", "
            "\"Aussendurchmesser\", \"Wanddicke\", \"Probenlaenge\", \"Versuchslaenge\", \"K1\", "
            "\"K2\", \"K10\") VALUES ");
        Exec(db,
             specimen + QStringLiteral(
                            "('P-10', 'Charge 10', 0, 1, 10.5, 0, 0, 0, 0, 0, 0, 'x', 'y', 'z')"));
        Exec(db,
             specimen + QStringLiteral("('P-1', 'Charge 7 Blech aus Linie 3 (Ofen 2)', 1, 2, 0, "
                                       "20.25, 2.5, 0, 0, 80, 120, 'Auftrag 4711', "
                                       "'0123456789012345678901234567890123456789ABC', NULL)"));
        Exec(db, specimen + QStringLiteral(
                                "('P-1', 'Zweite', 2, 0, 0, 0, 0, 33.7, 3.2, 0, 0, '', '', '')"));
        Exec(db, QStringLiteral(
                     "INSERT INTO \"ImportGrenzwerte\" (\"Identfeld\", \"SoMin\", \"SoMax\", "
                     "\"Rp1Min\", \"Rp1Max\", \"Rp2Min\", \"Rp2Max\", \"RtMin\", \"RtMax\", "
                     "\"RmMin\", \"RmMax\", \"AgMin\", \"AgMax\", \"Rm/RpMin\", \"Rm/RpMax\", "
                     "\"AMin\", \"AMax\", \"E-ModulMin\", \"E-ModulMax\", \"AeMin\", \"AeMax\") "
                     "VALUES ('S355', 75.5, 80.5, 355, 480, 360, 490, 365.5, 495.5, 470, 630, 18, "
                     "30, 1.1, 1.6, 22, 40, 190000, 220000, 1, 3)"));
        db.close();
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, FilledImportTest,
                         ::testing::Values(Engine::Sqlite, Engine::Postgres), EngineName);

TEST_P(FilledImportTest, ASpecimenIsFoundOnlyByItsExactNumber) {
    const auto found = FindImportedSpecimen(alias, dir, "P-1");
    ASSERT_EQ(found.Problem, "");
    ASSERT_TRUE(found.Found);
    // The first of two rows with the number, in the order of the key.
    const ImportedSpecimen& s = found.Value;
    EXPECT_EQ(s.SpecimenNo, "P-1");
    EXPECT_EQ(s.SpecimenId, "Charge 7 Blech aus L");  // cut to 20
    EXPECT_EQ(s.Shape, 1);
    EXPECT_EQ(s.Form, 2);
    EXPECT_DOUBLE_EQ(s.b, 20.25);
    EXPECT_DOUBLE_EQ(s.a, 2.5);
    EXPECT_DOUBLE_EQ(s.Lo, 80);
    EXPECT_DOUBLE_EQ(s.TestLength, 120);
    EXPECT_EQ(s.HeaderLines[0], "Auftrag 4711");
    EXPECT_EQ(s.HeaderLines[1], "0123456789012345678901234567890123456789");  // cut to 40
    EXPECT_EQ(s.HeaderLines[9], "");                                          // NULL

    for (const char* near : {"P-", "P-100", "p-1", "P-1 ", ""}) {
        const auto none = FindImportedSpecimen(alias, dir, near);
        EXPECT_EQ(none.Problem, "") << near;
        EXPECT_FALSE(none.Found) << near;
    }
    EXPECT_DOUBLE_EQ(FindImportedSpecimen(alias, dir, "P-10").Value.d, 10.5);
}

TEST_P(FilledImportTest, AConsumedSpecimenRowIsGoneOnceAndOnlyItself) {
    const ImportedSpecimen first = FindImportedSpecimen(alias, dir, "P-1").Value;
    // A number changed after the import consumes nothing.
    EXPECT_EQ(ConsumeImportedSpecimen(alias, dir, first.Id, "P-1b"), "");
    {
        QSqlDatabase db = Look();
        EXPECT_EQ(CountRows(db, kImportSpecimenTable), 3);
        db.close();
    }
    EXPECT_EQ(ConsumeImportedSpecimen(alias, dir, first.Id, "P-1"), "");
    // Again: the row is gone already, nothing happens.
    EXPECT_EQ(ConsumeImportedSpecimen(alias, dir, first.Id, "P-1"), "");
    QSqlDatabase db = Look();
    EXPECT_EQ(CountRows(db, kImportSpecimenTable), 2);
    db.close();
    // The second prepared specimen of the number is next.
    const auto next = FindImportedSpecimen(alias, dir, "P-1");
    ASSERT_TRUE(next.Found);
    EXPECT_EQ(next.Value.SpecimenId, "Zweite");
    EXPECT_DOUBLE_EQ(next.Value.TubeD, 33.7);
}

TEST_P(FilledImportTest, ALimitSetGivesRp2OrRtByTheSecondProofStrength) {
    const auto found = FindImportedLimits(alias, dir, "S355");
    ASSERT_EQ(found.Problem, "");
    ASSERT_TRUE(found.Found);
    EXPECT_FALSE(FindImportedLimits(alias, dir, "S35").Found);

    ParameterSet p;
    p.SecondProofIsRt = 0;
    const auto rp2 = ChooseImportedLimits(found.Value, false, FurtherLimitOf(p));
    EXPECT_DOUBLE_EQ(rp2[4].Min, 360);  // Rp2 is an integer column
    EXPECT_DOUBLE_EQ(rp2[4].Max, 490);
    const auto rt = ChooseImportedLimits(found.Value, true, FurtherLimitOf(p));
    EXPECT_DOUBLE_EQ(rt[4].Min, 365.5);
    EXPECT_DOUBLE_EQ(rt[4].Max, 495.5);
    EXPECT_DOUBLE_EQ(rt[0].Min, 75.5);
    EXPECT_DOUBLE_EQ(rt[3].Max, 480);
    EXPECT_DOUBLE_EQ(rt[7].Min, 22);
    EXPECT_DOUBLE_EQ(rt[9].Max, 220000);
    // Columns left empty give 0.
    EXPECT_DOUBLE_EQ(rt[1].Min, 0);
}

TEST_P(ImportTest, MissingTablesAndGarbledFieldsAreRefusedWithTheirNames) {
    {
        QSqlDatabase db = Look(true);
        db.close();
    }
    const auto noTable = FindImportedSpecimen(alias, dir, "P-1");
    EXPECT_FALSE(noTable.Found);
    EXPECT_NE(noTable.Problem.find("ImportProbendaten"), std::string::npos) << noTable.Problem;
    EXPECT_NE(FindImportedLimits(alias, dir, "S355").Problem, "");

    ASSERT_EQ(InitAliasTable(alias, dir), "");
    {
        QSqlDatabase db = Look();
        Exec(db, QStringLiteral("INSERT INTO \"ImportProbendaten\" (\"ProbenNr\", \"Probentyp\") "
                                "VALUES ('P-7', 9)"));
        db.close();
    }
    const auto badShape = FindImportedSpecimen(alias, dir, "P-7");
    EXPECT_FALSE(badShape.Found);
    EXPECT_NE(badShape.Problem.find("Probentyp"), std::string::npos) << badShape.Problem;

    if (GetParam() == Engine::Sqlite) {
        // SQLite keeps what it is given: text in a number column.
        QSqlDatabase db = Look();
        Exec(db, QStringLiteral("INSERT INTO \"ImportGrenzwerte\" (\"Identfeld\", \"RmMin\") "
                                "VALUES ('X', 'viel')"));
        db.close();
        const auto garbled = FindImportedLimits(alias, dir, "X");
        EXPECT_FALSE(garbled.Found);
        EXPECT_NE(garbled.Problem.find("RmMin"), std::string::npos) << garbled.Problem;
    }

    TakeAway();
    const auto away = FindImportedSpecimen(alias, dir, "P-7");
    EXPECT_FALSE(away.Found);
    EXPECT_NE(away.Problem, "");
    EXPECT_NE(ConsumeImportedSpecimen(alias, dir, 1, "P-7"), "");
}

}  // namespace
}  // namespace quorvex
