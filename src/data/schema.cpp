#include "data/schema.h"

#include "data/engine/database.h"

namespace vinorium::data::schema {

namespace {

// Column types the layout leaves open, chosen once here:
//   - whole numbers (years, counts, positions, pixels, keys) are LONG: one
//     32-bit type for all of them, so that no comparison or join mixes widths;
//   - Prix is DOUBLE: a decimal number typed with at most six characters,
//     multiplied and formatted by the stored queries; no currency rounding is
//     wanted;
//   - the texts the wine card limits (Nom, Recoltant, Cuvee, Classement) take
//     the 255 of the other texts of Vins; Type and Conditionnement hold short
//     fixed words but any other value must still fit, hence 50; Appellation and
//     Region are 50, the limit of the card's fields;
//   - the saved searches' texts (Selections.ChaineSQL, ChaineCriteres) can be
//     long and are MEMO; the other texts of Selections and Options are 255;
//   - the keys Vins.Cptr and [Sortie cave].Clé are COUNTER, assigned by the
//     engine in increasing order (SELECT MAX(cptr) reads the new wine's key);
//   - Appellations.Appellation is the table's primary key: it is unique, the
//     stored queries join on it and the editors look it up by name.
const char* const kCreateVins =
    "CREATE TABLE Vins ("
    "Cptr COUNTER CONSTRAINT idxCptr PRIMARY KEY, "
    "Nom TEXT(255), "
    "Millesime LONG, "
    "Etiquette TEXT(255), "
    "Recoltant TEXT(255), "
    "Appellation TEXT(50), "
    "Type TEXT(50), "
    "Conditionnement TEXT(50), "
    "Cuvee TEXT(255), "
    "Classement TEXT(255), "
    "Prix DOUBLE, "
    "Offert BIT, "
    "Vrac BIT, "
    "ChampPerso1 TEXT(255), "
    "ChampPerso2 TEXT(255), "
    "ChampPerso3 TEXT(255), "
    "ChampPerso4 TEXT(255), "
    "ChampPerso5 TEXT(255), "
    "Robe TEXT(255), "
    "Nez TEXT(255), "
    "Bouche TEXT(255), "
    "QualitePrix TEXT(255), "
    "Note TEXT(255), "
    "Appreciation TEXT(255), "
    "CommentaireSorties TEXT(255), "
    "Attendre LONG, "
    "BoireAvant LONG)";

const char* const kCreateAppellations =
    "CREATE TABLE Appellations ("
    "Appellation TEXT(50) CONSTRAINT idxAppellation PRIMARY KEY, "
    "Region TEXT(50))";

const char* const kCreateSortieCave =
    "CREATE TABLE [Sortie cave] ("
    "[Clé] COUNTER CONSTRAINT idxCle PRIMARY KEY, "
    "Cptr LONG, "
    "DateEntreeSortie DATETIME, "
    "QuantiteEntreeSortie LONG, "
    "PositionEntreeSortie LONG, "
    "CommentaireEntreeSortie TEXT(255))";

const char* const kCreatePlan =
    "CREATE TABLE PLAN (Gauche LONG, Haut LONG, Largeur LONG, Hauteur LONG, Indexe LONG)";

const char* const kCreateChampsPerso =
    "CREATE TABLE ChampsPerso (Nom TEXT(15) CONSTRAINT idxNom PRIMARY KEY, Libelle TEXT(20), "
    "Position TEXT(255), Recherche BIT, Liste BIT)";

const char* const kCreateEtatsGraphes =
    "CREATE TABLE EtatsGraphes (Nom TEXT(255), Type TEXT(255), Champ TEXT(255), Valeur TEXT(255))";

const char* const kCreateSelections =
    "CREATE TABLE Selections (Nom TEXT(255), ChaineSQL MEMO, ChaineCriteres MEMO)";

const char* const kCreateOptions = "CREATE TABLE Options (Nom TEXT(50), Valeur TEXT(255))";

const char* const kCreateVersion = "CREATE TABLE Version (Version LONG)";

// Indexes for the joins and look-ups every list makes: a wine's movements
// (the stock sums of the stored queries, the card's movement list), the wines
// of an appellation (the inner join of the stored queries, the appellation
// editor). Appellations by name is the primary key above.
const char* const kIndexSortieCaveCptr = "CREATE INDEX idxSortieCptr ON [Sortie cave] (Cptr)";
const char* const kIndexVinsAppellation = "CREATE INDEX idxVinsAppellation ON Vins (Appellation)";

// The stored queries of the current layout, with their exact Jet texts.
const char* const kRequeteInitiale =
    R"sql(SELECT IIf(IsNull(Sum([Sortie cave].QuantiteEntreeSortie)),0,Sum([Sortie cave].QuantiteEntreeSortie)) AS QuantiteRestante, )sql"
    R"sql(Vins.Cptr, Vins.Nom, Vins.Millesime, Vins.Etiquette, Vins.Recoltant, Appellations.Region, )sql"
    R"sql(Vins.Appellation, Vins.Type, Vins.Conditionnement, Vins.Cuvee, Vins.Classement, Prix, )sql"
    R"sql(IIf([prix]=0 Or IsNull([prix]),0,Format(IIf([Vrac],0.75,1)*[Prix], )sql"
    R"sql('#.00')) AS PrixBouteille, Vins.ChampPerso1, Vins.Offert, Vins.Vrac, Vins.BoireAvant, )sql"
    R"sql(Vins.Attendre, Vins.ChampPerso2, Vins.ChampPerso3, Vins.ChampPerso4, Vins.ChampPerso5, )sql"
    R"sql(Vins.CommentaireSorties, Vins.Robe, Vins.Nez, Vins.Bouche, Vins.Appreciation, )sql"
    R"sql(Vins.QualitePrix, )sql"
    R"sql(Vins.Note FROM (Vins INNER JOIN Appellations ON Vins.Appellation = Appellations.Appellation) LEFT JOIN [Sortie cave] ON Vins.Cptr = [Sortie cave].Cptr GROUP BY Vins.Cptr, )sql"
    R"sql(Vins.Nom, Vins.Millesime, Vins.Etiquette, Vins.Recoltant, Appellations.Region, )sql"
    R"sql(Vins.Appellation, Vins.Type, Vins.Conditionnement, Vins.Cuvee, Vins.Classement, Vins.Prix, )sql"
    R"sql(Vins.ChampPerso1, Vins.Offert, Vins.Vrac, Vins.BoireAvant, Vins.Attendre, Vins.ChampPerso2, )sql"
    R"sql(Vins.ChampPerso3, Vins.ChampPerso4, Vins.ChampPerso5, Vins.CommentaireSorties, Vins.Robe, )sql"
    R"sql(Vins.Nez, Vins.Bouche, Vins.Appreciation, Vins.QualitePrix, Vins.Note)sql";

const char* const kRequeteListe =
    R"sql(SELECT IIf(nom='' Or IsNull(nom),IIf(IsNull(recoltant),'',recoltant),nom) AS NomComplet, )sql"
    R"sql(IIf(nom='' Or IsNull(nom),IIf(IsNull(recoltant),'',recoltant),nom) +'   ('+IIf(IsNull(appellation),'',appellation)+' '+Format(IIf(IsNull(millesime),'',millesime))+', )sql"
    R"sql('+Format(QuantiteRestante) + ' bouteilles)' AS NomListe, QuantiteRestante, Cptr, Nom, )sql"
    R"sql(Millesime, Recoltant, Etiquette, Region, Appellation, Type, Conditionnement, Cuvee, )sql"
    R"sql(Classement, Prix, ChampPerso1, Offert, Vrac, BoireAvant, Attendre, ChampPerso2, )sql"
    R"sql(ChampPerso3, ChampPerso4, ChampPerso5, CommentaireSorties, Robe, Nez, Bouche, Appreciation, )sql"
    R"sql(QualitePrix, Note, PrixBouteille, Cptr FROM RequeteInitiale)sql";

const char* const kRequeteConsommation =
    R"sql(SELECT IIf(nom='' Or IsNull(nom),IIf(IsNull(recoltant),'',recoltant),nom) AS NomComplet, )sql"
    R"sql([Sortie cave].DateEntreeSortie, [Sortie cave].QuantiteEntreeSortie, )sql"
    R"sql(PositionEntreeSortie AS Position, RequeteInitiale.*, FORMAT(DateEntreeSortie, )sql"
    R"sql('yyyy') AS AnneeEntreeSortie, iif(format(DateEntreeSortie, 'q')='1', )sql"
    R"sql(format(DateEntreeSortie, 'q\er'), format(DateEntreeSortie, )sql"
    R"sql('qè\m\e'))  & ' trimestre ' & format(DateEntreeSortie, 'yyyy') AS TrimestreEntreeSortie, )sql"
    R"sql(FORMAT(DateEntreeSortie, 'mmmm') & format(DateEntreeSortie, 'yyyy') AS MoisEntreeSortie, )sql"
    R"sql('Semaine ' & FORMAT(DateEntreeSortie, 'ww') & ' de ' & format(DateEntreeSortie, )sql"
    R"sql('yyyy') AS SemaineEntreeSortie FROM RequeteInitiale INNER JOIN [Sortie cave] ON RequeteInitiale.Cptr = [Sortie cave].Cptr WHERE NOT ISNULL(DateEntreeSortie) ORDER BY DateEntreeSortie;)sql";

const char* const kRequeteInitialePositions =
    R"sql(SELECT IIf(IsNull(Sum([Sortie cave].QuantiteEntreeSortie)),0,Sum([Sortie cave].QuantiteEntreeSortie)) AS QuantiteRestante, )sql"
    R"sql([Sortie cave].PositionEntreeSortie AS Position, Vins.Cptr, Vins.Nom, Vins.Millesime, )sql"
    R"sql(Vins.Recoltant, Appellations.Region, Vins.Appellation, Vins.Type, Vins.Conditionnement, )sql"
    R"sql(Vins.Cuvee, Vins.Classement, Prix, )sql"
    R"sql(IIf([prix]=0 Or IsNull([prix]),0,Format(IIf([Vrac],0.75,1)*[Prix], )sql"
    R"sql('#.00')) AS PrixBouteille, Vins.ChampPerso1, Vins.Offert, Vins.Vrac, Vins.BoireAvant, )sql"
    R"sql(Vins.Attendre, Vins.ChampPerso2, Vins.ChampPerso3, Vins.ChampPerso4, Vins.ChampPerso5, )sql"
    R"sql(Vins.CommentaireSorties, Vins.Robe, Vins.Nez, Vins.Bouche, Vins.Appreciation, )sql"
    R"sql(Vins.QualitePrix, )sql"
    R"sql(Vins.Note FROM (Vins INNER JOIN Appellations ON Vins.Appellation = Appellations.Appellation) LEFT JOIN [Sortie cave] ON Vins.Cptr = [Sortie cave].Cptr GROUP BY [Sortie cave].PositionEntreeSortie, )sql"
    R"sql(Vins.Cptr, Vins.Nom, Vins.Millesime, Vins.Recoltant, Appellations.Region, Vins.Appellation, )sql"
    R"sql(Vins.Type, Vins.Conditionnement, Vins.Cuvee, Vins.Classement, Vins.Prix, Vins.ChampPerso1, )sql"
    R"sql(Vins.Offert, Vins.Vrac, Vins.BoireAvant, Vins.Attendre, Vins.ChampPerso2, Vins.ChampPerso3, )sql"
    R"sql(Vins.ChampPerso4, Vins.ChampPerso5, Vins.CommentaireSorties, Vins.Robe, Vins.Nez, )sql"
    R"sql(Vins.Bouche, Vins.Appreciation, Vins.QualitePrix, Vins.Note)sql";

const char* const kRequeteListePositions =
    R"sql(SELECT IIf(nom='' Or IsNull(nom),IIf(IsNull(recoltant),'',recoltant),nom) AS NomComplet, )sql"
    R"sql(IIf(nom='' Or IsNull(nom),IIf(IsNull(recoltant),'',recoltant),nom) +' ('+IIf(IsNull(appellation),'',appellation)+' '+Format(IIf(IsNull(millesime),'',millesime))+')' AS NomListe, )sql"
    R"sql(QuantiteRestante, Cptr, Nom, Millesime, Recoltant, Region, Appellation, Type, )sql"
    R"sql(Conditionnement, Cuvee, Classement, Prix, ChampPerso1, Offert, Vrac, BoireAvant, Attendre, )sql"
    R"sql(ChampPerso2, ChampPerso3, ChampPerso4, ChampPerso5, CommentaireSorties, Robe, Nez, Bouche, )sql"
    R"sql(Appreciation, QualitePrix, Note, PrixBouteille, Position, Cptr FROM RequeteInitialePositions)sql";

}  // namespace

QStringList tableNames() {
    return {table::kVins,       table::kAppellations, table::kSortieCave,
            table::kPlan,       table::kChampsPerso,  table::kEtatsGraphes,
            table::kSelections, table::kOptions,      table::kVersion};
}

QStringList queryNames() {
    return {query::kRequeteInitiale, query::kRequeteListe, query::kRequeteConsommation,
            query::kRequeteInitialePositions, query::kRequeteListePositions};
}

QString queryText(const QString& name) {
    const char* text = nullptr;
    if (name.compare(QLatin1String(query::kRequeteInitiale), Qt::CaseInsensitive) == 0) {
        text = kRequeteInitiale;
    } else if (name.compare(QLatin1String(query::kRequeteListe), Qt::CaseInsensitive) == 0) {
        text = kRequeteListe;
    } else if (name.compare(QLatin1String(query::kRequeteConsommation), Qt::CaseInsensitive) == 0) {
        text = kRequeteConsommation;
    } else if (name.compare(QLatin1String(query::kRequeteInitialePositions), Qt::CaseInsensitive) == 0) {
        text = kRequeteInitialePositions;
    } else if (name.compare(QLatin1String(query::kRequeteListePositions), Qt::CaseInsensitive) == 0) {
        text = kRequeteListePositions;
    }
    return text ? QString::fromUtf8(text) : QString();
}

QStringList indexStatements() {
    return {QString::fromUtf8(kIndexSortieCaveCptr), QString::fromUtf8(kIndexVinsAppellation)};
}

QStringList createStatements() {
    QStringList out;
    for (const char* sql :
         {kCreateVins, kCreateAppellations, kCreateSortieCave, kCreatePlan, kCreateChampsPerso,
          kCreateEtatsGraphes, kCreateSelections, kCreateOptions, kCreateVersion}) {
        out << QString::fromUtf8(sql);
    }
    return out + indexStatements();
}

void createLayout(Database& db) {
    for (const QString& sql : createStatements()) {
        db.execute(sql);
    }
    for (const QString& name : queryNames()) {
        db.createQueryDef(name, queryText(name));
    }
}

QString quoted(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + out + QLatin1Char('\'');
}

QStringList champsPersoRows() {
    struct Row {
        const char* nom;
        const char* libelle;
        const char* position;
    };
    static const Row rows[] = {
        {"ChampPerso1", "Origine", "A gauche de la case à cocher \"Vrac\" et sous la zone \"Récoltant\""},
        {"ChampPerso2", "Commentaire", "Onglet \"Plan\", sous le plan de cave, à gauche"},
        {"ChampPerso3", "Précision", "Onglet \"Plan\", sous le plan de cave, à droite"},
        {"ChampPerso4", "Commentaire1", "Onglet \"Dégustation\", en bas, avant dernière zone"},
        {"ChampPerso5", "Commentaire2", "Onglet \"Dégustation\", en bas, dernière zone"},
    };
    QStringList out;
    for (const Row& row : rows) {
        out << QStringLiteral(
                   "INSERT INTO ChampsPerso (Nom, Libelle, Position, Recherche, Liste) VALUES (%1, %2, %3, "
                   "0, 1)")
                   .arg(quoted(QString::fromUtf8(row.nom)), quoted(QString::fromUtf8(row.libelle)),
                        quoted(QString::fromUtf8(row.position)));
    }
    return out;
}

QStringList optionRows() {
    const QList<std::pair<QString, QString>> rows = {
        {QString::fromUtf8(option::kCouleur), QString::fromUtf8(option::kDefaultCouleur)},
        {QString::fromUtf8(option::kTranchePrix), QString::number(option::kDefaultTranchePrix)},
        {QString::fromUtf8(option::kAboire), QString::number(option::kDefaultAboire)},
        {QString::fromUtf8(option::kAttendre), QString::number(option::kDefaultAttendre)},
        {QString::fromUtf8(option::kModeSaisie), QString::fromUtf8(option::kDefaultModeSaisie)},
    };
    QStringList out;
    for (const auto& [nom, valeur] : rows) {
        out << QStringLiteral("INSERT INTO Options (Nom, Valeur) VALUES (%1, %2)")
                   .arg(quoted(nom), quoted(valeur));
    }
    return out;
}

}  // namespace vinorium::data::schema
