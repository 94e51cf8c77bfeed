#pragma once

// Cellar files for tests, built through the engine as the programs would find
// them: a cellar of the current layout (30), and cellars of the older layouts
// 11 and 20 for the upgrade tool.
//
//   vinorium::test::CellarFixture cellar(folders.scratch("cave.mdb"));
//   const int margaux = cellar.addWine({.nom = "Château Margaux", .appellation = "Margaux"});
//   cellar.addMovement(margaux, QDate(2005, 3, 12), 6, 12);
//   cellar.addMovement(margaux, QDate(2006, 1, 2), -2, 12, "anniversaire");
//   cellar.close();  // or keep using cellar.db()
//
// A fixture holds its connection open (not exclusively) until close() or its
// destruction; other connections may open the file meanwhile.

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace vinorium::data {
class Database;
}

namespace vinorium::test {

// One wine. Columns left empty are written as Null, except Nom and Recoltant,
// written as given (an empty text stays an empty text unless nomNull is set).
struct Wine {
    QString nom{};
    QString recoltant{};
    QString appellation = QStringLiteral("Bordeaux");
    QString type = QStringLiteral("Rouge");
    QString conditionnement = QStringLiteral("Standard");
    std::optional<int> millesime{};
    std::optional<double> prix{};
    bool vrac = false;
    bool offert = false;
    std::optional<int> attendre{};
    std::optional<int> boireAvant{};
    QString cuvee{};
    QString classement{};
    // ChampPerso1 to ChampPerso5; at layout 11 the first four are Origine,
    // CommentaireCave, CommentaireDegustation1 and CommentaireDegustation2.
    QStringList champsPerso{};
    QString robe{};
    QString nez{};
    QString bouche{};
    QString note{};
    QString qualitePrix{};
    QString appreciation{};
    QString etiquette{};  // layout 30 only
    bool nomNull = false;
    bool recoltantNull = false;
    // Layout 11 only: the wine's first entry, kept in Vins.
    std::optional<QDate> dateEntree{};
    std::optional<int> quantiteEntree{};
    std::optional<int> position{};
    // Any other column, as a Jet literal ("'texte'", "12", "Null").
    QList<QPair<QString, QString>> autres{};
};

class CellarFixture {
  public:
    // The appellations a fixture starts with: a few per region, enough for
    // tests that need more than one region.
    static QList<QPair<QString, QString>> defaultAppellations();

    // Creates the file (it must not exist) at the given layout (11, 20 or 30)
    // with every table and stored query of that layout, the Version row (20 or
    // 30), the ChampsPerso rows (20: without Liste; 30: with Liste 1), the
    // Options rows and the given appellations.
    explicit CellarFixture(const QString& path, int layout = 30,
                           const QList<QPair<QString, QString>>& appellations = defaultAppellations());
    // Opens an existing cellar file, for adding rows to it.
    static std::unique_ptr<CellarFixture> open(const QString& path, int layout = 30);
    ~CellarFixture();
    CellarFixture(const CellarFixture&) = delete;
    CellarFixture& operator=(const CellarFixture&) = delete;

    const QString& path() const { return path_; }
    int layout() const { return layout_; }
    // The open connection; reopened by a call after close().
    data::Database& db();
    void close();

    // Adds a wine and returns its Cptr.
    int addWine(const Wine& wine);
    // Adds a movement. Layouts 20 and 30: signed quantity (entries > 0, exits
    // < 0) at a plan position. Layout 11: an exit, its quantity written as
    // given in [Quantite sortie] (positive for an exit); no position there.
    // A missing date is written as Null.
    void addMovement(int cptr, std::optional<QDate> date, int quantity, int position = 0,
                     const QString& comment = QString());
    void addPlanCell(int indexe, int gauche, int haut, int largeur = 40, int hauteur = 40);
    void addAppellation(const QString& appellation, const QString& region);
    // Row of Selections, texts as stored.
    void addSelection(const QString& nom, const QString& chaineSql, const QString& chaineCriteres);
    // Row of EtatsGraphes (layout 30).
    void addSavedSetting(const QString& nom, const QString& type, const QString& champ,
                         const QString& valeur);
    void setOption(const QString& nom, const QString& valeur);
    // Runs any statement on the fixture's connection.
    void exec(const QString& sql);

    // Criteria text of a saved search in the layout 11 and 20 format: a
    // leading line break, then three lines per criterion (field, comparator,
    // value); between two criteria a connector line ("ET" or "OU") followed
    // by two empty lines. connectors holds one item fewer than criteria.
    static QString oldCriteriaText(const QList<QStringList>& criteria, const QStringList& connectors);

    // The stored query texts of the older layouts, as their files hold them.
    static QString layout11QueryText(const QString& name);
    static QString layout20QueryText(const QString& name);

  private:
    CellarFixture(const QString& path, int layout, bool create,
                  const QList<QPair<QString, QString>>& appellations);
    void createLayout11();
    void createLayout20();

    QString path_;
    int layout_;
    std::unique_ptr<data::Database> db_;
};

// A Jet date literal, #mm/dd/yyyy#.
QString jetDate(const QDate& date);

// Runs a SELECT and returns the given columns of every row as text (Field::asString;
// Null as "<Null>"), in the order of the rows.
QList<QStringList> selectRows(data::Database& db, const QString& sql, const QStringList& columns);

}  // namespace vinorium::test
