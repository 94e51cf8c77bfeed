// What the translator emits where it matters beyond the rows: plain numeric
// comparisons stay SQLite comparisons (so indexes serve them), texts compare
// in the JET collation, and Jet's operators call the run-time functions.

#include "data/enginetest.h"

namespace vinorium::test {
namespace {

class EngineTranslation : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        exec(miniCellarDdl());
    }
};

TEST_F(EngineTranslation, KeepsIndexFriendlyComparisonsAndCallsTheRuntimeElsewhere) {
    struct Expected {
        const char* jet;
        const char* contains;
        const char* absent;
    };
    const Expected cases[] = {
        {"SELECT Nom FROM Vins WHERE Cptr = 5", "(\"Vins\".\"Cptr\" = 5)", "jet_"},
        {"SELECT Nom FROM Vins WHERE Millesime >= 2000 AND Prix < 10.5", "(\"Vins\".\"Prix\" < 10.5)",
         "jet_"},
        {"SELECT Nom FROM Vins WHERE Nom = 'x'", "(\"Vins\".\"Nom\" = 'x' COLLATE JET)", "jet_"},
        {"SELECT Nom FROM Vins ORDER BY Nom", "ORDER BY \"Vins\".\"Nom\" COLLATE JET", nullptr},
        {"SELECT Nom FROM Vins WHERE ChampPerso1 > 3", "(jet_num(\"Vins\".\"ChampPerso1\") > 3)", nullptr},
        {"SELECT Nom + Millesime FROM Vins", "jet_add(", nullptr},
        {"SELECT Nom + Recoltant FROM Vins", "(\"Vins\".\"Nom\" || \"Vins\".\"Recoltant\")", "jet_add"},
        {"SELECT Prix + Millesime FROM Vins", "(\"Vins\".\"Prix\" + \"Vins\".\"Millesime\")", "jet_"},
        {"SELECT Nom & Millesime FROM Vins", "jet_concat(", nullptr},
        {"SELECT Nom FROM Vins WHERE Nom LIKE 'a*'", "jet_like(", nullptr},
        {"SELECT IIf(IsNull(Millesime), 0, Millesime) FROM Vins", "coalesce(\"Vins\".\"Millesime\", 0)",
         "CASE"},
        {"SELECT Count(*) FROM Vins GROUP BY Type", "GROUP BY \"Vins\".\"Type\" COLLATE JET", nullptr},
        {"SELECT Count(*) FROM Vins GROUP BY 1", "GROUP BY (1 + 0)", nullptr},
        {"INSERT INTO Vins (Vrac, Offert) VALUES (1, '5')", "VALUES (-1, jet_bool('5'))", nullptr},
        {"SELECT Nom FROM Vins WHERE DateEntree > #1/2/2005#", nullptr, nullptr},
    };
    for (const Expected& c : cases) {
        QString sqlite;
        try {
            sqlite = db_.translate(QString::fromUtf8(c.jet));
        } catch (const data::EngineError& e) {
            sqlite = QStringLiteral("error: ") + e.message();
        }
        if (c.contains) {
            EXPECT_TRUE(sqlite.contains(QString::fromUtf8(c.contains))) << c.jet << "\n"
                                                                        << sqlite.toStdString();
        } else {
            EXPECT_TRUE(sqlite.startsWith("error: ")) << c.jet << "\n" << sqlite.toStdString();
        }
        if (c.absent) {
            EXPECT_FALSE(sqlite.contains(QString::fromUtf8(c.absent))) << c.jet << "\n"
                                                                       << sqlite.toStdString();
        }
    }
}

}  // namespace
}  // namespace vinorium::test
