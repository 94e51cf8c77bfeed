#include "support/cellarfixtures.h"

#include "data/engine/database.h"
#include "data/engine/query.h"
#include "data/schema.h"

#include <stdexcept>

namespace vinorium::test {

namespace sc = data::schema;

namespace {

// Layout 11: no Version, ChampsPerso or EtatsGraphes; the first entry of a
// wine in Vins, the exits only in [Sortie cave]; the tasting and comment
// texts narrower than today.
const char* const kCreate11[] = {
    "CREATE TABLE Vins (Cptr COUNTER CONSTRAINT idxCptr PRIMARY KEY, Nom TEXT(255), Millesime LONG, "
    "Recoltant TEXT(255), Appellation TEXT(50), Type TEXT(50), Conditionnement TEXT(50), Cuvee TEXT(255), "
    "Classement TEXT(255), Prix DOUBLE, Offert BIT, Vrac BIT, DateEntree DATETIME, QuantiteEntree LONG, "
    "Position LONG, Origine TEXT(50), CommentaireCave TEXT(100), Robe TEXT(100), Nez TEXT(100), "
    "Bouche TEXT(100), QualitePrix TEXT(50), Note TEXT(50), Appreciation TEXT(100), "
    "CommentaireDegustation1 TEXT(100), CommentaireDegustation2 TEXT(100), CommentaireSorties TEXT(255), "
    "Attendre LONG, BoireAvant LONG)",
    "CREATE TABLE Appellations (Appellation TEXT(50) CONSTRAINT idxAppellation PRIMARY KEY, Region TEXT(50))",
    "CREATE TABLE [Sortie cave] ([Clé] COUNTER CONSTRAINT idxCle PRIMARY KEY, Cptr LONG, [Date] DATETIME, "
    "[Quantite sortie] LONG, Commentaire TEXT(100))",
    "CREATE TABLE PLAN (Gauche LONG, Haut LONG, Largeur LONG, Hauteur LONG, Indexe LONG)",
    "CREATE TABLE Selections (Nom TEXT(255), ChaineSQL MEMO, ChaineCriteres MEMO)",
    "CREATE TABLE Options (Nom TEXT(50), Valeur TEXT(255))",
};

// Layout 20: as step 20 of the upgrade leaves a layout-11 file (moved and
// added columns at the end of their tables).
const char* const kCreate20[] = {
    "CREATE TABLE Vins (Cptr COUNTER CONSTRAINT idxCptr PRIMARY KEY, Nom TEXT(255), Millesime LONG, "
    "Recoltant TEXT(255), Appellation TEXT(50), Type TEXT(50), Conditionnement TEXT(50), Cuvee TEXT(255), "
    "Classement TEXT(255), Prix DOUBLE, Offert BIT, Vrac BIT, ChampPerso1 TEXT(50), ChampPerso2 TEXT(100), "
    "Robe TEXT(100), Nez TEXT(100), Bouche TEXT(100), QualitePrix TEXT(50), Note TEXT(50), "
    "Appreciation TEXT(100), ChampPerso4 TEXT(100), ChampPerso5 TEXT(100), CommentaireSorties TEXT(255), "
    "Attendre LONG, BoireAvant LONG, ChampPerso3 TEXT(10))",
    "CREATE TABLE Appellations (Appellation TEXT(50) CONSTRAINT idxAppellation PRIMARY KEY, Region TEXT(50))",
    "CREATE TABLE [Sortie cave] ([Clé] COUNTER CONSTRAINT idxCle PRIMARY KEY, Cptr LONG, "
    "DateEntreeSortie DATETIME, QuantiteEntreeSortie LONG, CommentaireEntreeSortie TEXT(100), "
    "PositionEntreeSortie LONG)",
    "CREATE TABLE PLAN (Gauche LONG, Haut LONG, Largeur LONG, Hauteur LONG, Indexe LONG)",
    "CREATE TABLE Selections (Nom TEXT(255), ChaineSQL MEMO, ChaineCriteres MEMO)",
    "CREATE TABLE Options (Nom TEXT(50), Valeur TEXT(255))",
    "CREATE TABLE Version (Version LONG)",
    "CREATE TABLE ChampsPerso (Nom TEXT(15) CONSTRAINT idxNom PRIMARY KEY, Libelle TEXT(20), "
    "Position TEXT(255), Recherche BIT)",
};

// Stored queries of layout 11: the stock is the first entry kept in Vins less
// the exits.
const char* const kRequeteInitiale11 =
    R"sql(SELECT IIf(IsNull(Vins.QuantiteEntree),0,Vins.QuantiteEntree)-IIf(IsNull(Sum([Sortie cave].[Quantite sortie])),0,Sum([Sortie cave].[Quantite sortie])) AS QuantiteRestante, )sql"
    R"sql(Vins.Cptr, Vins.Nom, Vins.Millesime, Vins.Recoltant, Appellations.Region, Vins.Appellation, Vins.Type, )sql"
    R"sql(Vins.Conditionnement, Vins.Cuvee, Vins.Classement, Prix, )sql"
    R"sql(IIf([prix]=0 Or IsNull([prix]),0,Format(IIf([Vrac],0.75,1)*[Prix], '#.00')) AS PrixBouteille, )sql"
    R"sql(Vins.Origine, Vins.Offert, Vins.Vrac, Vins.BoireAvant, Vins.Attendre, Vins.DateEntree, Vins.QuantiteEntree, )sql"
    R"sql(Vins.Position, Vins.CommentaireCave, Vins.CommentaireDegustation1, Vins.CommentaireDegustation2, )sql"
    R"sql(Vins.CommentaireSorties, Vins.Robe, Vins.Nez, Vins.Bouche, Vins.Appreciation, Vins.QualitePrix, Vins.Note )sql"
    R"sql(FROM (Vins INNER JOIN Appellations ON Vins.Appellation = Appellations.Appellation) )sql"
    R"sql(LEFT JOIN [Sortie cave] ON Vins.Cptr = [Sortie cave].Cptr )sql"
    R"sql(GROUP BY Vins.Cptr, Vins.Nom, Vins.Millesime, Vins.Recoltant, Appellations.Region, Vins.Appellation, )sql"
    R"sql(Vins.Type, Vins.Conditionnement, Vins.Cuvee, Vins.Classement, Vins.Prix, Vins.Origine, Vins.Offert, )sql"
    R"sql(Vins.Vrac, Vins.BoireAvant, Vins.Attendre, Vins.DateEntree, Vins.QuantiteEntree, Vins.Position, )sql"
    R"sql(Vins.CommentaireCave, Vins.CommentaireDegustation1, Vins.CommentaireDegustation2, )sql"
    R"sql(Vins.CommentaireSorties, Vins.Robe, Vins.Nez, Vins.Bouche, Vins.Appreciation, Vins.QualitePrix, Vins.Note)sql";

const char* const kRequeteListe11 =
    R"sql(SELECT IIf(nom='' Or IsNull(nom),IIf(IsNull(recoltant),'',recoltant),nom) AS NomComplet, )sql"
    R"sql(IIf(nom='' Or IsNull(nom),IIf(IsNull(recoltant),'',recoltant),nom) +' ('+IIf(IsNull(appellation),'',appellation)+' '+Format(IIf(IsNull(millesime),'',millesime))+')' AS NomListe, )sql"
    R"sql(QuantiteRestante, Cptr, Nom, Millesime, Recoltant, Region, Appellation, Type, Conditionnement, Cuvee, )sql"
    R"sql(Classement, Prix, Origine, Offert, Vrac, BoireAvant, Attendre, DateEntree, QuantiteEntree, Position, )sql"
    R"sql(CommentaireCave, CommentaireDegustation1, CommentaireDegustation2, CommentaireSorties, Robe, Nez, )sql"
    R"sql(Bouche, Appreciation, QualitePrix, Note, PrixBouteille, Cptr FROM RequeteInitiale)sql";

const char* const kRequeteConsommation11 =
    R"sql(SELECT [Sortie cave].[Date], [Sortie cave].[Quantite sortie], RequeteInitiale.* )sql"
    R"sql(FROM RequeteInitiale INNER JOIN [Sortie cave] ON RequeteInitiale.Cptr = [Sortie cave].Cptr )sql"
    R"sql(WHERE NOT ISNULL([Sortie cave].[Date]) ORDER BY [Sortie cave].[Date])sql";

// Stored queries of layout 20 (the position queries are those of today).
const char* const kRequeteInitiale20 =
    R"sql(SELECT IIf(IsNull(Sum([Sortie cave].QuantiteEntreeSortie)),0,Sum([Sortie cave].QuantiteEntreeSortie)) AS QuantiteRestante, )sql"
    R"sql(Vins.Cptr, Vins.Nom, Vins.Millesime, Vins.Recoltant, Appellations.Region, Vins.Appellation, )sql"
    R"sql(Vins.Type, Vins.Conditionnement, Vins.Cuvee, Vins.Classement, Prix, )sql"
    R"sql(IIf([prix]=0 Or IsNull([prix]),0,Format(IIf([Vrac],0.75,1)*[Prix], )sql"
    R"sql('#.00')) AS PrixBouteille, Vins.ChampPerso1, Vins.Offert, Vins.Vrac, Vins.BoireAvant, )sql"
    R"sql(Vins.Attendre, Vins.ChampPerso2, Vins.ChampPerso3, Vins.ChampPerso4, Vins.ChampPerso5, )sql"
    R"sql(Vins.CommentaireSorties, Vins.Robe, Vins.Nez, Vins.Bouche, Vins.Appreciation, )sql"
    R"sql(Vins.QualitePrix, )sql"
    R"sql(Vins.Note FROM (Vins INNER JOIN Appellations ON Vins.Appellation = Appellations.Appellation) LEFT JOIN [Sortie cave] ON Vins.Cptr = [Sortie cave].Cptr GROUP BY Vins.Cptr, )sql"
    R"sql(Vins.Nom, Vins.Millesime, Vins.Recoltant, Appellations.Region, Vins.Appellation, Vins.Type, )sql"
    R"sql(Vins.Conditionnement, Vins.Cuvee, Vins.Classement, Vins.Prix, Vins.ChampPerso1, )sql"
    R"sql(Vins.Offert, Vins.Vrac, Vins.BoireAvant, Vins.Attendre, Vins.ChampPerso2, Vins.ChampPerso3, )sql"
    R"sql(Vins.ChampPerso4, Vins.ChampPerso5, Vins.CommentaireSorties, Vins.Robe, Vins.Nez, )sql"
    R"sql(Vins.Bouche, Vins.Appreciation, Vins.QualitePrix, Vins.Note)sql";

const char* const kRequeteListe20 =
    R"sql(SELECT IIf(nom='' Or IsNull(nom),IIf(IsNull(recoltant),'',recoltant),nom) AS NomComplet, )sql"
    R"sql(IIf(nom='' Or IsNull(nom),IIf(IsNull(recoltant),'',recoltant),nom) +' ('+IIf(IsNull(appellation),'',appellation)+' '+Format(IIf(IsNull(millesime),'',millesime))+')' AS NomListe, )sql"
    R"sql(QuantiteRestante, Cptr, Nom, Millesime, Recoltant, Region, Appellation, Type, )sql"
    R"sql(Conditionnement, Cuvee, Classement, Prix, ChampPerso1, Offert, Vrac, BoireAvant, Attendre, )sql"
    R"sql(ChampPerso2, ChampPerso3, ChampPerso4, ChampPerso5, CommentaireSorties, Robe, Nez, Bouche, )sql"
    R"sql(Appreciation, QualitePrix, Note, PrixBouteille, Cptr FROM RequeteInitiale)sql";

const char* const kRequeteConsommation20 =
    R"sql(SELECT [Sortie cave].DateEntreeSortie, [Sortie cave].QuantiteEntreeSortie, )sql"
    R"sql(RequeteInitiale.* FROM RequeteInitiale INNER JOIN [Sortie cave] ON RequeteInitiale.Cptr = [Sortie cave].Cptr WHERE NOT ISNULL(DateEntreeSortie) ORDER BY DateEntreeSortie)sql";

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QString textOrNull(const QString& value) {
    return value.isEmpty() ? QStringLiteral("Null") : sc::quoted(value);
}

template <typename T>
QString numberOrNull(const std::optional<T>& value) {
    return value ? QString::number(*value) : QStringLiteral("Null");
}

QString yesNo(bool value) {
    return value ? QStringLiteral("-1") : QStringLiteral("0");
}

}  // namespace

QString jetDate(const QDate& date) {
    return QLatin1Char('#') + date.toString(QStringLiteral("MM/dd/yyyy")) + QLatin1Char('#');
}

QList<QStringList> selectRows(data::Database& db, const QString& sql, const QStringList& columns) {
    data::Query query(&db);
    query.setSql(sql);
    query.open();
    QList<QStringList> rows;
    while (!query.eof()) {
        QStringList row;
        for (const QString& column : columns) {
            const data::Field field = query.field(column);
            row << (field.isNull() ? QStringLiteral("<Null>") : field.asString());
        }
        rows << row;
        query.next();
    }
    return rows;
}

QList<QPair<QString, QString>> CellarFixture::defaultAppellations() {
    return {
        {QStringLiteral("Bordeaux"), QStringLiteral("Bordeaux")},
        {QStringLiteral("Margaux"), QStringLiteral("Bordeaux")},
        {text("Saint-Émilion grand cru"), QStringLiteral("Bordeaux")},
        {QStringLiteral("Chablis"), QStringLiteral("Bourgogne")},
        {text("Nuits-Saint-Georges"), QStringLiteral("Bourgogne")},
        {QStringLiteral("Champagne"), QStringLiteral("Champagne")},
        {text("Côtes du Rhône"), text("Rhône")},
        {text("Châteauneuf-du-Pape"), text("Rhône")},
        {QStringLiteral("Sancerre"), QStringLiteral("Loire")},
        {QStringLiteral("Sauternes"), QStringLiteral("Bordeaux")},
        {text("Crémant d'Alsace"), QStringLiteral("Alsace")},
    };
}

CellarFixture::CellarFixture(const QString& path, int layout,
                             const QList<QPair<QString, QString>>& appellations)
    : CellarFixture(path, layout, true, appellations) {}

CellarFixture::CellarFixture(const QString& path, int layout, bool create,
                             const QList<QPair<QString, QString>>& appellations)
    : path_(path), layout_(layout), db_(std::make_unique<data::Database>()) {
    if (layout != 11 && layout != 20 && layout != sc::kLayout) {
        throw std::invalid_argument("CellarFixture: layout 11, 20 or 30");
    }
    if (!create) {
        db_->open(path_);
        return;
    }
    data::Database::createEmpty(path_);
    db_->open(path_);
    db_->beginTransaction();
    if (layout_ == 11) {
        createLayout11();
    } else if (layout_ == 20) {
        createLayout20();
    } else {
        sc::createLayout(*db_);
        exec(QStringLiteral("INSERT INTO Version ([Version]) VALUES (%1)").arg(sc::kLayout));
        for (const QString& sql : sc::champsPersoRows()) {
            exec(sql);
        }
    }
    for (const QString& sql : sc::optionRows()) {
        exec(sql);
    }
    for (const auto& [appellation, region] : appellations) {
        addAppellation(appellation, region);
    }
    db_->commit();
}

std::unique_ptr<CellarFixture> CellarFixture::open(const QString& path, int layout) {
    return std::unique_ptr<CellarFixture>(new CellarFixture(path, layout, false, {}));
}

CellarFixture::~CellarFixture() = default;

data::Database& CellarFixture::db() {
    if (!db_->isOpen()) {
        db_->open(path_);
    }
    return *db_;
}

void CellarFixture::close() {
    db_->close();
}

void CellarFixture::exec(const QString& sql) {
    db().execute(sql);
}

void CellarFixture::createLayout11() {
    for (const char* sql : kCreate11) {
        exec(text(sql));
    }
    for (const char* name :
         {sc::query::kRequeteInitiale, sc::query::kRequeteListe, sc::query::kRequeteConsommation}) {
        db_->createQueryDef(text(name), layout11QueryText(text(name)));
    }
}

void CellarFixture::createLayout20() {
    for (const char* sql : kCreate20) {
        exec(text(sql));
    }
    exec(QStringLiteral("INSERT INTO Version ([Version]) VALUES (20)"));
    // The rows step 20 of the upgrade writes: no Liste column yet.
    for (QString sql : sc::champsPersoRows()) {
        sql.replace(QStringLiteral("Recherche, Liste) VALUES"), QStringLiteral("Recherche) VALUES"));
        sql.replace(QStringLiteral(", 0, 1)"), QStringLiteral(", 0)"));
        exec(sql);
    }
    for (const QString& name : sc::queryNames()) {
        db_->createQueryDef(name, layout20QueryText(name));
    }
}

QString CellarFixture::layout11QueryText(const QString& name) {
    if (name.compare(text(sc::query::kRequeteInitiale), Qt::CaseInsensitive) == 0) {
        return text(kRequeteInitiale11);
    }
    if (name.compare(text(sc::query::kRequeteListe), Qt::CaseInsensitive) == 0) {
        return text(kRequeteListe11);
    }
    if (name.compare(text(sc::query::kRequeteConsommation), Qt::CaseInsensitive) == 0) {
        return text(kRequeteConsommation11);
    }
    return {};
}

QString CellarFixture::layout20QueryText(const QString& name) {
    if (name.compare(text(sc::query::kRequeteInitiale), Qt::CaseInsensitive) == 0) {
        return text(kRequeteInitiale20);
    }
    if (name.compare(text(sc::query::kRequeteListe), Qt::CaseInsensitive) == 0) {
        return text(kRequeteListe20);
    }
    if (name.compare(text(sc::query::kRequeteConsommation), Qt::CaseInsensitive) == 0) {
        return text(kRequeteConsommation20);
    }
    // The two position queries came with layout 20 and were not changed since.
    return sc::queryText(name);
}

int CellarFixture::addWine(const Wine& wine) {
    QStringList columns = {
        QStringLiteral("Nom"),         QStringLiteral("Millesime"),    QStringLiteral("Recoltant"),
        QStringLiteral("Appellation"), QStringLiteral("Type"),         QStringLiteral("Conditionnement"),
        QStringLiteral("Cuvee"),       QStringLiteral("Classement"),   QStringLiteral("Prix"),
        QStringLiteral("Offert"),      QStringLiteral("Vrac"),         QStringLiteral("Robe"),
        QStringLiteral("Nez"),         QStringLiteral("Bouche"),       QStringLiteral("QualitePrix"),
        QStringLiteral("Note"),        QStringLiteral("Appreciation"), QStringLiteral("Attendre"),
        QStringLiteral("BoireAvant")};
    QStringList values = {wine.nomNull ? QStringLiteral("Null") : sc::quoted(wine.nom),
                          numberOrNull(wine.millesime),
                          wine.recoltantNull ? QStringLiteral("Null") : sc::quoted(wine.recoltant),
                          textOrNull(wine.appellation),
                          textOrNull(wine.type),
                          textOrNull(wine.conditionnement),
                          textOrNull(wine.cuvee),
                          textOrNull(wine.classement),
                          wine.prix ? QString::number(*wine.prix, 'g', 15) : QStringLiteral("Null"),
                          yesNo(wine.offert),
                          yesNo(wine.vrac),
                          textOrNull(wine.robe),
                          textOrNull(wine.nez),
                          textOrNull(wine.bouche),
                          textOrNull(wine.qualitePrix),
                          textOrNull(wine.note),
                          textOrNull(wine.appreciation),
                          numberOrNull(wine.attendre),
                          numberOrNull(wine.boireAvant)};
    const QStringList champs11 = {QStringLiteral("Origine"), QStringLiteral("CommentaireCave"),
                                  QStringLiteral("CommentaireDegustation1"),
                                  QStringLiteral("CommentaireDegustation2")};
    for (qsizetype i = 0; i < wine.champsPerso.size(); ++i) {
        if (layout_ == 11) {
            if (i >= champs11.size()) {
                throw std::invalid_argument("CellarFixture: layout 11 has four custom-like columns");
            }
            columns << champs11.at(i);
        } else {
            columns << QStringLiteral("ChampPerso%1").arg(i + 1);
        }
        values << textOrNull(wine.champsPerso.at(i));
    }
    if (layout_ == 11) {
        columns << QStringLiteral("DateEntree") << QStringLiteral("QuantiteEntree")
                << QStringLiteral("Position");
        values << (wine.dateEntree ? jetDate(*wine.dateEntree) : QStringLiteral("Null"))
               << numberOrNull(wine.quantiteEntree) << numberOrNull(wine.position);
    }
    if (layout_ == sc::kLayout) {
        columns << QStringLiteral("Etiquette");
        values << textOrNull(wine.etiquette);
    }
    for (const auto& [column, value] : wine.autres) {
        columns << column;
        values << value;
    }
    for (QString& column : columns) {
        column = QLatin1Char('[') + column + QLatin1Char(']');
    }
    exec(QStringLiteral("INSERT INTO Vins (%1) VALUES (%2)")
             .arg(columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", "))));
    data::Query query(&db());
    query.setSql(QStringLiteral("SELECT MAX(cptr) AS compteur FROM Vins"));
    query.open();
    return static_cast<int>(query.field(QStringLiteral("compteur")).asInteger());
}

void CellarFixture::addMovement(int cptr, std::optional<QDate> date, int quantity, int position,
                                const QString& comment) {
    const QString dateText = date ? jetDate(*date) : QStringLiteral("Null");
    if (layout_ == 11) {
        if (position != 0) {
            throw std::invalid_argument("CellarFixture: movements have no position at layout 11");
        }
        exec(QStringLiteral("INSERT INTO [Sortie cave] ([Cptr], [Date], [Quantite sortie], [Commentaire]) "
                            "VALUES (%1, %2, %3, %4)")
                 .arg(QString::number(cptr), dateText, QString::number(quantity), sc::quoted(comment)));
        return;
    }
    exec(QStringLiteral("INSERT INTO [Sortie cave] ([Cptr], [DateEntreeSortie], [QuantiteEntreeSortie], "
                        "[PositionEntreeSortie], [CommentaireEntreeSortie]) VALUES (%1, %2, %3, %4, %5)")
             .arg(QString::number(cptr), dateText, QString::number(quantity), QString::number(position),
                  sc::quoted(comment)));
}

void CellarFixture::addPlanCell(int indexe, int gauche, int haut, int largeur, int hauteur) {
    exec(QStringLiteral(
             "INSERT INTO Plan (Gauche, Haut, Largeur, Hauteur, Indexe) VALUES (%1, %2, %3, %4, %5)")
             .arg(gauche)
             .arg(haut)
             .arg(largeur)
             .arg(hauteur)
             .arg(indexe));
}

void CellarFixture::addAppellation(const QString& appellation, const QString& region) {
    exec(QStringLiteral("INSERT INTO Appellations (Appellation, Region) VALUES (%1, %2)")
             .arg(sc::quoted(appellation), sc::quoted(region)));
}

void CellarFixture::addSelection(const QString& nom, const QString& chaineSql,
                                 const QString& chaineCriteres) {
    exec(QStringLiteral("INSERT INTO Selections VALUES(%1, %2, %3)")
             .arg(sc::quoted(nom), sc::quoted(chaineSql), sc::quoted(chaineCriteres)));
}

void CellarFixture::addSavedSetting(const QString& nom, const QString& type, const QString& champ,
                                    const QString& valeur) {
    exec(QStringLiteral("INSERT INTO EtatsGraphes (Nom, Type, Champ, Valeur) VALUES (%1, %2, %3, %4)")
             .arg(sc::quoted(nom), sc::quoted(type), sc::quoted(champ), sc::quoted(valeur)));
}

void CellarFixture::setOption(const QString& nom, const QString& valeur) {
    exec(QStringLiteral("UPDATE Options SET Valeur = %1 WHERE Nom = %2")
             .arg(sc::quoted(valeur), sc::quoted(nom)));
}

QString CellarFixture::oldCriteriaText(const QList<QStringList>& criteria, const QStringList& connectors) {
    const QString crlf = QStringLiteral("\r\n");
    QString out;
    for (qsizetype i = 0; i < criteria.size(); ++i) {
        if (i > 0) {
            out += crlf + connectors.value(i - 1, QStringLiteral("ET")) + crlf + crlf;
        }
        out += crlf + criteria.at(i).join(crlf);
    }
    return out;
}

}  // namespace vinorium::test
