#include "upgrade/migration.h"

#include "data/requetes.h"
#include "data/schema.h"
#include "upgrade/textesmigration.h"

#include <QDateTime>
#include <QHash>
#include <QSet>

#include <vector>

namespace vinorium::upgrade {

namespace sc = data::schema;

namespace {

// The three main stored queries as layout 20 holds them.
const char* const kRequeteInitiale20 =
    R"sql(SELECT IIf(IsNull(Sum([Sortie cave].QuantiteEntreeSortie)),0,Sum([Sortie )sql"
    R"sql(cave].QuantiteEntreeSortie)) AS QuantiteRestante, Vins.Cptr, Vins.Nom, Vins.Millesime, )sql"
    R"sql(Vins.Recoltant, Appellations.Region, Vins.Appellation, Vins.Type, Vins.Conditionnement, )sql"
    R"sql(Vins.Cuvee, Vins.Classement, Prix, IIf([prix]=0 Or )sql"
    R"sql(IsNull([prix]),0,Format(IIf([Vrac],0.75,1)*[Prix], '#.00')) AS PrixBouteille, )sql"
    R"sql(Vins.ChampPerso1, Vins.Offert, Vins.Vrac, Vins.BoireAvant, Vins.Attendre, )sql"
    R"sql(Vins.ChampPerso2, Vins.ChampPerso3, Vins.ChampPerso4, Vins.ChampPerso5, )sql"
    R"sql(Vins.CommentaireSorties, Vins.Robe, Vins.Nez, Vins.Bouche, Vins.Appreciation, )sql"
    R"sql(Vins.QualitePrix, Vins.Note FROM (Vins INNER JOIN Appellations ON Vins.Appellation = )sql"
    R"sql(Appellations.Appellation) LEFT JOIN [Sortie cave] ON Vins.Cptr = [Sortie cave].Cptr )sql"
    R"sql(GROUP BY Vins.Cptr, Vins.Nom, Vins.Millesime, Vins.Recoltant, Appellations.Region, )sql"
    R"sql(Vins.Appellation, Vins.Type, Vins.Conditionnement, Vins.Cuvee, Vins.Classement, )sql"
    R"sql(Vins.Prix, Vins.ChampPerso1, Vins.Offert, Vins.Vrac, Vins.BoireAvant, Vins.Attendre, )sql"
    R"sql(Vins.ChampPerso2, Vins.ChampPerso3, Vins.ChampPerso4, Vins.ChampPerso5, )sql"
    R"sql(Vins.CommentaireSorties, Vins.Robe, Vins.Nez, Vins.Bouche, Vins.Appreciation, )sql"
    R"sql(Vins.QualitePrix, Vins.Note)sql";

const char* const kRequeteListe20 =
    R"sql(SELECT IIf(nom='' Or IsNull(nom),IIf(IsNull(recoltant),'',recoltant),nom) AS NomComplet, )sql"
    R"sql(IIf(nom='' Or IsNull(nom),IIf(IsNull(recoltant),'',recoltant),nom) +' )sql"
    R"sql(('+IIf(IsNull(appellation),'',appellation)+' )sql"
    R"sql('+Format(IIf(IsNull(millesime),'',millesime))+')' AS NomListe, QuantiteRestante, Cptr, )sql"
    R"sql(Nom, Millesime, Recoltant, Region, Appellation, Type, Conditionnement, Cuvee, )sql"
    R"sql(Classement, Prix, ChampPerso1, Offert, Vrac, BoireAvant, Attendre, ChampPerso2, )sql"
    R"sql(ChampPerso3, ChampPerso4, ChampPerso5, CommentaireSorties, Robe, Nez, Bouche, )sql"
    R"sql(Appreciation, QualitePrix, Note, PrixBouteille, Cptr FROM RequeteInitiale)sql";

const char* const kRequeteConsommation20 =
    R"sql(SELECT [Sortie cave].DateEntreeSortie, [Sortie cave].QuantiteEntreeSortie, )sql"
    R"sql(RequeteInitiale.* FROM RequeteInitiale INNER JOIN [Sortie cave] ON RequeteInitiale.Cptr )sql"
    R"sql(= [Sortie cave].Cptr WHERE NOT ISNULL(DateEntreeSortie) ORDER BY DateEntreeSortie)sql";

const char* const kChampsPerso[] = {
    "INSERT INTO ChampsPerso (Nom, Libelle, Position, Recherche) VALUES ('ChampPerso1', 'Origine', 'A gauche "
    "de la case à cocher \"Vrac\" et sous la zone \"Récoltant\"', 0)",
    "INSERT INTO ChampsPerso (Nom, Libelle, Position, Recherche) VALUES ('ChampPerso2', 'Commentaire', "
    "'Onglet \"Plan\", sous le plan de cave, à gauche', 0)",
    "INSERT INTO ChampsPerso (Nom, Libelle, Position, Recherche) VALUES ('ChampPerso3', 'Précision', "
    "'Onglet \"Plan\", sous le plan de cave, à droite', 0)",
    "INSERT INTO ChampsPerso (Nom, Libelle, Position, Recherche) VALUES ('ChampPerso4', 'Commentaire1', "
    "'Onglet \"Dégustation\", en bas, avant dernière zone', 0)",
    "INSERT INTO ChampsPerso (Nom, Libelle, Position, Recherche) VALUES ('ChampPerso5', 'Commentaire2', "
    "'Onglet \"Dégustation\", en bas, dernière zone', 0)",
};

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

Migration::Migration(data::Database& base, Journal journal)
    : MaBase(base), MonQuery(&base), MonQuery2(&base), journal_(std::move(journal)) {}

QString Migration::texteRequeteVersion20(const QString& nom) {
    if (nom.compare(u(sc::query::kRequeteInitiale), Qt::CaseInsensitive) == 0) {
        return u(kRequeteInitiale20);
    }
    if (nom.compare(u(sc::query::kRequeteListe), Qt::CaseInsensitive) == 0) {
        return u(kRequeteListe20);
    }
    if (nom.compare(u(sc::query::kRequeteConsommation), Qt::CaseInsensitive) == 0) {
        return u(kRequeteConsommation20);
    }
    return QString();
}

void Migration::instruction(const QString& texte) {
    DerniereInstruction = texte;
    if (avant_) {
        avant_(texte);
    }
}

void Migration::ExecuteDB(const QString& sql) {
    instruction(sql);
    MaBase.execute(sql);
}

void Migration::AjouteChamp(const QString& table, const QString& champ, const QString& type) {
    ExecuteDB(QStringLiteral("ALTER TABLE [") + table + QStringLiteral("] ADD COLUMN [") + champ +
              QStringLiteral("] ") + type);
}

void Migration::EffaceChamp(const QString& table, const QString& champ) {
    ExecuteDB(QStringLiteral("ALTER TABLE [") + table + QStringLiteral("] DROP COLUMN [") + champ +
              QStringLiteral("]"));
}

void Migration::AgranditChamp(const QString& table, const QString& champ, int n) {
    const QString type = QStringLiteral("TEXT(%1)").arg(n);
    const QString tempo = QStringLiteral("Tempo");
    AjouteChamp(table, tempo, type);
    ExecuteDB(QStringLiteral("UPDATE [") + table + QStringLiteral("] SET Tempo = [") + champ +
              QStringLiteral("]"));
    EffaceChamp(table, champ);
    AjouteChamp(table, champ, type);
    ExecuteDB(QStringLiteral("UPDATE [") + table + QStringLiteral("] SET [") + champ +
              QStringLiteral("] = Tempo"));
    EffaceChamp(table, tempo);
}

void Migration::RenommeChamp(const QString& table, const QString& ancien, const QString& nouveau) {
    instruction(QStringLiteral("RENAME ") + table + QLatin1Char('.') + ancien);
    MaBase.renameColumn(table, ancien, nouveau);
}

void Migration::MajRequete(const QString& nom, const QString& sql) {
    instruction(QStringLiteral("UPDATE QUERY ") + sql);
    MaBase.setQueryDefSql(nom, sql);
}

void Migration::AjouteRequete(const QString& nom, const QString& sql) {
    instruction(QStringLiteral("INSERT QUERY ") + sql);
    MaBase.createQueryDef(nom, sql);
}

void Migration::OuvreRequeteMaj(data::Query& requete, const QString& sql) {
    instruction(sql);
    requete.close();
    requete.setSql(sql);
    requete.open();
    // Every row is read now: the loops over these rows write to the same tables.
    requete.recordCount();
    requete.first();
}

void Migration::ExecuteRequeteMaj(data::Query& requete, const QString& sql) {
    instruction(sql);
    requete.close();
    requete.setSql(sql);
    requete.execSql();
}

void Migration::AjouteInfo(const QString& texte) {
    if (journal_) {
        journal_(texte);
    }
}

void Migration::Etape20() {
    ExecuteDB(QStringLiteral("CREATE TABLE Version (Version LONG)"));
    ExecuteDB(QStringLiteral("INSERT INTO Version ([Version]) VALUES (20)"));

    AjouteInfo(QStringLiteral("Mise à jour des entrées / sorties ..."));
    AjouteChamp(QStringLiteral("Sortie cave"), QStringLiteral("PositionEntreeSortie"),
                QStringLiteral("LONG"));
    // The old exits become negative quantities.
    ExecuteDB(QStringLiteral(
        "UPDATE [Sortie cave] SET [Quantite sortie] = -[Quantite sortie] WHERE [Quantite sortie] > 0;"));
    ExecuteDB(QStringLiteral("UPDATE [Sortie cave] SET [Date] = #01/01/2000# WHERE ISNULL(Date)"));
    deplaceEntrees();
    RenommeChamp(QStringLiteral("sortie cave"), QStringLiteral("Date"), QStringLiteral("DateEntreeSortie"));
    RenommeChamp(QStringLiteral("sortie cave"), QStringLiteral("Quantite sortie"),
                 QStringLiteral("QuantiteEntreeSortie"));
    RenommeChamp(QStringLiteral("sortie cave"), QStringLiteral("Commentaire"),
                 QStringLiteral("CommentaireEntreeSortie"));

    // No query stays open on Vins while its columns go.
    MonQuery.close();
    MonQuery2.close();
    EffaceChamp(QStringLiteral("Vins"), QStringLiteral("DateEntree"));
    EffaceChamp(QStringLiteral("Vins"), QStringLiteral("QuantiteEntree"));

    AjouteInfo(QStringLiteral("Mise à jour des requêtes ..."));
    for (const char* nom :
         {sc::query::kRequeteInitiale, sc::query::kRequeteListe, sc::query::kRequeteConsommation}) {
        MajRequete(u(nom), texteRequeteVersion20(u(nom)));
    }
    for (const char* nom : {sc::query::kRequeteInitialePositions, sc::query::kRequeteListePositions}) {
        AjouteRequete(u(nom), sc::queryText(u(nom)));
    }

    AjouteInfo(QStringLiteral("Mise à jour des données ..."));
    // Every movement of a wine takes the wine's old position.
    ExecuteRequeteMaj(MonQuery,
                      QStringLiteral("UPDATE vins, [sortie cave] SET [sortie cave].PositionEntreeSortie = "
                                     "iif(isnull(vins.position), 0, vins.position) WHERE vins.cptr = "
                                     "[sortie cave].cptr;"));
    ExecuteDB(QStringLiteral(
        "DELETE * FROM [sortie cave] WHERE ISNULL(QuantiteEntreeSortie) OR (QuantiteEntreeSortie = 0);"));
    MonQuery.close();
    EffaceChamp(QStringLiteral("Vins"), QStringLiteral("Position"));

    AjouteInfo(QStringLiteral("Mise à jour des sélections personnelles ..."));
    recritSelectionsVersion20();

    AjouteInfo(QStringLiteral("Ajout des champs personnalisés ..."));
    ExecuteDB(
        QStringLiteral("CREATE TABLE ChampsPerso (Nom TEXT(15) CONSTRAINT idxNom PRIMARY KEY, Libelle "
                       "TEXT(20), Position TEXT(255), Recherche BIT)"));
    for (const char* sql : kChampsPerso) {
        ExecuteDB(u(sql));
    }

    const QString vins = QStringLiteral("Vins");
    RenommeChamp(vins, QStringLiteral("Origine"), QStringLiteral("ChampPerso1"));
    RenommeChamp(vins, QStringLiteral("CommentaireCave"), QStringLiteral("ChampPerso2"));
    AjouteChamp(vins, QStringLiteral("ChampPerso3"), QStringLiteral("TEXT(10)"));
    RenommeChamp(vins, QStringLiteral("CommentaireDegustation1"), QStringLiteral("ChampPerso4"));
    RenommeChamp(vins, QStringLiteral("CommentaireDegustation2"), QStringLiteral("ChampPerso5"));
}

void Migration::deplaceEntrees() {
    // The first entry that layout 11 kept in the wine becomes a movement.
    OuvreRequeteMaj(MonQuery, QStringLiteral("SELECT Cptr, DateEntree, QuantiteEntree, Position FROM Vins;"));
    while (!MonQuery.eof()) {
        const qlonglong quantite = MonQuery.field(QStringLiteral("QuantiteEntree")).asInteger();
        if (quantite != 0) {
            const data::Field dateEntree = MonQuery.field(QStringLiteral("DateEntree"));
            const QString date = dateEntree.asString().isEmpty()
                                     ? QStringLiteral("01/01/2000")
                                     : dateEntree.asDateTime().toString(QStringLiteral("MM/dd/yyyy"));
            const data::Field position = MonQuery.field(QStringLiteral("Position"));
            const QString textePosition =
                position.asString().isEmpty() ? QStringLiteral("0") : QString::number(position.asInteger());
            ExecuteRequeteMaj(MonQuery2,
                              QStringLiteral("INSERT INTO [Sortie cave] ([Cptr], [Date], [Quantite sortie], "
                                             "[PositionEntreeSortie], [Commentaire]) VALUES (") +
                                  QString::number(MonQuery.field(QStringLiteral("Cptr")).asInteger()) +
                                  QStringLiteral(", #") + date + QStringLiteral("#, ") +
                                  QString::number(quantite) + QStringLiteral(", ") + textePosition +
                                  QStringLiteral(", '')"));
        }
        MonQuery.next();
    }
    MonQuery.close();
    MonQuery2.close();
}

void Migration::recritSelectionsVersion20() {
    recritSelections(
        [](const SelectionSauvee& ancienne) {
            return SelectionSauvee{ancienne.nom, RecritConditionVersion20(ancienne.chaineSql),
                                   RenommeColonnesEntree(ancienne.chaineCriteres, false)};
        },
        [this](const SelectionSauvee& nouvelle) {
            ExecuteRequeteMaj(MonQuery2, QStringLiteral("UPDATE Selections SET ChaineSQL = ") +
                                             Quote(nouvelle.chaineSql) + QStringLiteral(" WHERE Nom = ") +
                                             Quote(nouvelle.nom));
            ExecuteRequeteMaj(MonQuery2, QStringLiteral("UPDATE Selections SET ChaineCriteres = ") +
                                             Quote(nouvelle.chaineCriteres) +
                                             QStringLiteral(" WHERE Nom = ") + Quote(nouvelle.nom));
        });
}

void Migration::recritSelections(const std::function<SelectionSauvee(const SelectionSauvee&)>& reecrit,
                                 const std::function<void(const SelectionSauvee&)>& ecrit) {
    OuvreRequeteMaj(MonQuery, QStringLiteral("SELECT * FROM Selections"));
    std::vector<SelectionSauvee> selections;
    while (!MonQuery.eof()) {
        selections.push_back({MonQuery.field(QStringLiteral("Nom")).asString(),
                              MonQuery.field(QStringLiteral("ChaineSQL")).asString(),
                              MonQuery.field(QStringLiteral("ChaineCriteres")).asString()});
        MonQuery.next();
    }
    MonQuery.close();
    // Rows are written back by name. Two searches of one name (names compare
    // without case) would both get the text of the last one: such a group is
    // written again whole instead, each row with its own text.
    QHash<QString, QList<qsizetype>> parNom;
    for (qsizetype i = 0; i < static_cast<qsizetype>(selections.size()); ++i) {
        parNom[selections[static_cast<size_t>(i)].nom.toCaseFolded()] << i;
    }
    QSet<QString> groupesEcrits;
    for (const SelectionSauvee& ancienne : selections) {
        const QString cle = ancienne.nom.toCaseFolded();
        const QList<qsizetype>& groupe = parNom[cle];
        if (groupe.size() > 1 && groupesEcrits.contains(cle)) {
            continue;
        }
        if (groupe.size() > 1 && nombreDeSelections(ancienne.nom) == groupe.size()) {
            groupesEcrits << cle;
            ExecuteRequeteMaj(MonQuery2,
                              QStringLiteral("DELETE * FROM Selections WHERE Nom = ") + Quote(ancienne.nom));
            for (const qsizetype i : groupe) {
                const SelectionSauvee nouvelle = reecrit(selections[static_cast<size_t>(i)]);
                ExecuteRequeteMaj(MonQuery2, QStringLiteral("INSERT INTO Selections VALUES(") +
                                                 Quote(nouvelle.nom) + QStringLiteral(", ") +
                                                 Quote(nouvelle.chaineSql) + QStringLiteral(", ") +
                                                 Quote(nouvelle.chaineCriteres) + QStringLiteral(")"));
            }
            continue;
        }
        ecrit(reecrit(ancienne));
    }
    MonQuery2.close();
}

int Migration::nombreDeSelections(const QString& nom) {
    OuvreRequeteMaj(MonQuery2,
                    QStringLiteral("SELECT Count(*) AS n FROM Selections WHERE Nom = ") + Quote(nom));
    const int n = static_cast<int>(MonQuery2.field(QStringLiteral("n")).asInteger());
    MonQuery2.close();
    return n;
}

void Migration::Etape30() {
    ExecuteDB(QStringLiteral("UPDATE Version SET Version = 30"));
    ExecuteDB(QStringLiteral(
        "CREATE TABLE EtatsGraphes (Nom TEXT(255), Type TEXT(255), Champ TEXT(255), Valeur TEXT(255))"));
    const QString vins = QStringLiteral("Vins");
    AjouteChamp(vins, QStringLiteral("Etiquette"), QStringLiteral("TEXT(255)"));
    for (const char* champ : {"ChampPerso1", "ChampPerso2", "ChampPerso3", "ChampPerso4", "ChampPerso5",
                              "Robe", "Nez", "Bouche", "Appreciation", "QualitePrix", "Note"}) {
        AgranditChamp(vins, u(champ), 255);
    }
    AgranditChamp(QStringLiteral("Sortie cave"), QStringLiteral("CommentaireEntreeSortie"), 255);
    AjouteChamp(QStringLiteral("ChampsPerso"), QStringLiteral("Liste"), QStringLiteral("BIT"));
    ExecuteDB(QStringLiteral("UPDATE ChampsPerso SET Liste = 1"));
    for (const char* nom :
         {sc::query::kRequeteInitiale, sc::query::kRequeteListe, sc::query::kRequeteConsommation}) {
        MajRequete(u(nom), sc::queryText(u(nom)));
    }
    AjouteInfo(QStringLiteral("Mise à jour des sélections personnelles ..."));
    convertitCriteres();
    ajouteIndex();
}

void Migration::convertitCriteres() {
    recritSelections(
        [](const SelectionSauvee& ancienne) {
            return SelectionSauvee{ancienne.nom, SansWhere(ancienne.chaineSql),
                                   ConvertitCriteres(ancienne.chaineCriteres)};
        },
        [this](const SelectionSauvee& nouvelle) {
            ExecuteRequeteMaj(MonQuery2, QStringLiteral("UPDATE Selections SET ChaineCriteres = ") +
                                             Quote(nouvelle.chaineCriteres) +
                                             QStringLiteral(", ChaineSQL = ") + Quote(nouvelle.chaineSql) +
                                             QStringLiteral(" WHERE Nom = ") + Quote(nouvelle.nom));
        });
}

void Migration::ajouteIndex() {
    // The indexes of today's layout: without the one on the movements' wine a
    // large cellar lists its wines in minutes. A file that has one already
    // keeps it; the data are complete without them, so a failure here is only
    // logged.
    for (const QString& sql : sc::indexStatements()) {
        try {
            ExecuteDB(sql);
        } catch (const data::EngineError& e) {
            AjouteInfo(e.message());
        }
    }
}

}  // namespace vinorium::upgrade
