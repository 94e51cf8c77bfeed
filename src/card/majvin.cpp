// The wine card turned into rows and back: the save prompt and its checks,
// the write of a wine and its movements, the tool-bar actions that create,
// save, duplicate and delete wines, and the name and appellation look-ups.

#include "card/fichevin.h"
#include "card/frmentreecave.h"
#include "card/frmsaisie.h"

#include "card/sablier.h"
#include "card/valeursql.h"
#include "data/dialogservice.h"
#include "data/programme.h"
#include "data/requetes.h"
#include "navigation/listevins.h"
#include "plan/planfiche.h"
#include "ui/controles.h"
#include "ui/flatcontrols.h"
#include "ui/frmchoix.h"

#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QTableWidget>

#include <utility>

namespace vinorium::card {

namespace {

using Answer = DialogService::Answer;

QString cellule(const QTableWidget* g, int r, int c) {
    const QTableWidgetItem* item = g->item(r, c);
    return item ? item->text() : QString();
}

// A row of a movement list that holds something: the blank row of an empty
// list does not count, a stored movement without date does.
bool ligneRemplie(const QTableWidget* g, int r) {
    for (int c = 0; c < g->columnCount(); ++c) {
        if (!cellule(g, r, c).isEmpty()) {
            return true;
        }
    }
    return false;
}

QList<int> lignes(const QTableWidget* g) {
    QList<int> r;
    for (int i = 0; i < g->rowCount(); ++i) {
        if (ligneRemplie(g, i)) {
            r << i;
        }
    }
    return r;
}

int sommeQuantites(const QTableWidget* g) {
    int somme = 0;
    for (int r = 0; r < g->rowCount(); ++r) {
        const QString q = cellule(g, r, 1);
        if (!q.isEmpty()) {
            somme += q.toInt();
        }
    }
    return somme;
}

const QString kColonnesVins[] = {QStringLiteral("Nom"),
                                 QStringLiteral("Millesime"),
                                 QStringLiteral("Etiquette"),
                                 QStringLiteral("Recoltant"),
                                 QStringLiteral("Appellation"),
                                 QStringLiteral("Type"),
                                 QStringLiteral("Conditionnement"),
                                 QStringLiteral("Cuvee"),
                                 QStringLiteral("Classement"),
                                 QStringLiteral("Prix"),
                                 QStringLiteral("ChampPerso1"),
                                 QStringLiteral("Offert"),
                                 QStringLiteral("Vrac"),
                                 QStringLiteral("ChampPerso2"),
                                 QStringLiteral("ChampPerso3"),
                                 QStringLiteral("Robe"),
                                 QStringLiteral("Nez"),
                                 QStringLiteral("Bouche"),
                                 QStringLiteral("QualitePrix"),
                                 QStringLiteral("Note"),
                                 QStringLiteral("Attendre"),
                                 QStringLiteral("BoireAvant"),
                                 QStringLiteral("ChampPerso4"),
                                 QStringLiteral("ChampPerso5")};

const QString kSqlAppellations =
    QStringLiteral("SELECT DISTINCT Appellation FROM Appellations ORDER BY Appellation");
const QString kSqlRegions = QStringLiteral("SELECT DISTINCT Region FROM Appellations ORDER BY Region");

}  // namespace

DialogService::Answer TfrmSaisie::ValideMaj(bool ask, bool withCancel) {
    if (!etat_.FicheModifiee) {
        return Answer::No;
    }
    if (ask) {
        const Answer reponse = dialogs().ask(
            QStringLiteral("Voulez-vous sauvegarder les modifications apportées au vin courant ?"),
            withCancel ? DialogService::Buttons::YesNoCancel : DialogService::Buttons::YesNo);
        if (reponse != Answer::Yes) {
            return reponse;
        }
    }
    FicheVin& f = *fiche;
    const QString appellation = f.lst_appellation->currentText();
    if (!appellation.isEmpty()) {
        OuvreRequete(*qryModif_,
                     QStringLiteral("SELECT * FROM Appellations WHERE Appellation = ") + Quote(appellation));
        const bool existe = qryModif_->isActive() && !qryModif_->eof();
        qryModif_->close();
        if (!existe) {
            dialogs().information(QStringLiteral("Cette appellation n'existe pas"));
            return Answer::Cancel;
        }
    } else {
        dialogs().information(QStringLiteral("Il faut indiquer une appellation"));
        return Answer::Cancel;
    }
    if (FicheVin::LitCoche(f.pnl_Type).isEmpty()) {
        dialogs().information(QStringLiteral("Il faut indiquer une couleur de vin"));
        return Answer::Cancel;
    }
    const QString boireAvant = f.txt_boireAvant->text();
    const QString attendre = f.txt_attendre->text();
    if (!boireAvant.isEmpty() && !attendre.isEmpty() && boireAvant < attendre) {
        dialogs().warning(
            QStringLiteral("L'année 'A attendre' doit être inférieur à l'année 'A boire avant'"));
        return Answer::Cancel;
    }
    if (sommeQuantites(f.lst_entrees) != 0) {
        if (f.txt_QuantiteRestante->text() == QLatin1String("0")) {
            return dialogs().ask(
                QStringLiteral("Ce vin n'a plus de bouteille en cave. Il n'apparaitra plus dans la liste des "
                               "vins à moins de rechercher explicitement les vins épuisés. Voulez-vous "
                               "continuer ?"),
                DialogService::Buttons::YesNo);
        }
        return Answer::Yes;
    }
    // No bottle entered: how many go into the cellar?
    TfrmEntreeCave entree(this);
    const int resultat = dialogs().modal(&entree, entree.objectName());
    QString quantite;
    if (resultat == TfrmEntreeCave::SansBouteilles) {
        quantite = QStringLiteral("0");
    } else if (resultat > TfrmEntreeCave::AvecBouteilles) {
        quantite = QString::number(resultat - TfrmEntreeCave::AvecBouteilles);
    } else {
        return Answer::Cancel;
    }
    QTableWidget* g = f.lst_entrees;
    int r = 0;
    if (g->rowCount() == 0) {
        g->setRowCount(1);
    } else if (ligneRemplie(g, 0)) {
        r = g->rowCount();
        g->insertRow(r);
    }
    const QStringList valeurs{EcritDate(QDate::currentDate()), quantite, PositionSelectionnee(), QString()};
    for (int c = 0; c < 4; ++c) {
        g->setItem(r, c, new QTableWidgetItem(valeurs[c]));
    }
    ligneEntreeCave_ = r;
    return Answer::Yes;
}

QString TfrmSaisie::PositionSelectionnee() const {
    for (auto* cellule : fiche->plan->grp_Position->findChildren<ui::FlatSpeedButton*>()) {
        if (cellule->isChecked()) {
            return QString::number(ui::Tag(cellule));
        }
    }
    return QStringLiteral("0");
}

bool TfrmSaisie::ExecuteTransaction(const std::function<void(QString& instruction)>& corps) {
    data::Database& db = programme().dbBase;
    QString instruction;
    try {
        instruction = QStringLiteral("BEGIN TRANSACTION");
        db.beginTransaction();
        corps(instruction);
        instruction = QStringLiteral("COMMIT");
        db.commit();
        return true;
    } catch (const data::EngineError& e) {
        if (db.inTransaction()) {
            try {
                db.rollback();
            } catch (const data::EngineError&) {
                // The error shown below is the one that matters.
            }
        }
        dialogs().error(TexteErreurSQL(instruction, e.message()));
        return false;
    }
}

void TfrmSaisie::RouvreAffichage(const QString& cptr) {
    qryAffiche_->close();
    OuvreRequete(
        *qryAffiche_,
        QStringLiteral("SELECT * FROM RequeteInitiale AS TableSource ORDER BY Appellation, Nom, Type"));
    bool ok = false;
    const qlonglong cle = cptr.toLongLong(&ok);
    if (ok && qryAffiche_->isActive()) {
        qryAffiche_->locate(QStringLiteral("cptr"), cle);
    }
}

bool TfrmSaisie::SauveVin() {
    FicheVin& f = *fiche;
    // Every saved wine has a packaging.
    const bool sansConditionnement = FicheVin::LitCoche(f.pnl_Conditionnement).isEmpty();
    if (sansConditionnement) {
        f.EcritCoche(f.pnl_Conditionnement, QStringLiteral("Standard"));
    }

    const auto texte = [](const QString& v) { return FormateValeurSQL(v, TypeValeur::Texte); };
    const auto nombre = [](const QString& v) { return FormateValeurSQL(v, TypeValeur::Nombre); };
    const auto perso = [this, &texte](int i) {
        return texte(fiche->champs[static_cast<std::size_t>(i)].lst->currentText());
    };
    const auto booleen = [](const ui::FlatSpeedButton* b) {
        return FicheVin::EtatOption(b) == -1 ? QStringLiteral("-1") : QStringLiteral("0");
    };
    const QStringList valeurs{texte(f.lst_nom->currentText()),
                              nombre(f.txt_millesime->text()),
                              texte(f.txt_etiquette->text()),
                              texte(f.lst_recoltant->currentText()),
                              texte(f.lst_appellation->currentText()),
                              FormateValeurSQL(FicheVin::LitCoche(f.pnl_Type), TypeValeur::Option),
                              FormateValeurSQL(FicheVin::LitCoche(f.pnl_Conditionnement), TypeValeur::Option),
                              texte(f.txt_cuvee->toPlainText()),
                              texte(f.txt_classement->toPlainText()),
                              nombre(f.txt_prix->text()),
                              perso(0),
                              booleen(f.btn_offert),
                              booleen(f.btn_vrac),
                              perso(1),
                              perso(2),
                              texte(f.txt_robe->toPlainText()),
                              texte(f.txt_nez->toPlainText()),
                              texte(f.txt_bouche->toPlainText()),
                              texte(f.lst_qualitePrix->currentText()),
                              texte(f.txt_note->toPlainText()),
                              nombre(f.txt_attendre->text()),
                              nombre(f.txt_boireAvant->text()),
                              perso(3),
                              perso(4)};

    const bool nouveau = etat_.ModeNouveau;
    QString cleChargee;
    QString sqlVin;
    if (nouveau) {
        QStringList colonnes;
        for (const QString& c : kColonnesVins) {
            colonnes << QLatin1Char('[') + c + QLatin1Char(']');
        }
        sqlVin = QStringLiteral("INSERT INTO Vins (") + colonnes.join(QStringLiteral(", ")) +
                 QStringLiteral(") VALUES (") + valeurs.join(QStringLiteral(", ")) + QStringLiteral(")");
    } else {
        cleChargee = qryAffiche_->isActive() && !qryAffiche_->eof()
                         ? qryAffiche_->field(QStringLiteral("Cptr")).asString()
                         : QString();
        QStringList affectations;
        for (int i = 0; i < valeurs.size(); ++i) {
            affectations << QLatin1Char('[') + kColonnesVins[i] + QStringLiteral("] = ") + valeurs[i];
        }
        sqlVin = QStringLiteral("UPDATE Vins SET ") + affectations.join(QStringLiteral(", ")) +
                 QStringLiteral(" WHERE Cptr = ") + cleChargee;
    }

    const auto mouvement = [](const QString& cle, const QString& date, const QString& quantite,
                              const QString& position, const QString& commentaire) {
        return QStringLiteral(
                   "INSERT INTO [Sortie cave] ([Cptr], [DateEntreeSortie], [QuantiteEntreeSortie], "
                   "[PositionEntreeSortie], [CommentaireEntreeSortie]) VALUES (") +
               cle + QStringLiteral(", ") + date + QStringLiteral(", ") + quantite + QStringLiteral(", ") +
               position + QStringLiteral(", ") + commentaire + QStringLiteral(")");
    };

    const bool ecrit = ExecuteTransaction([&](QString& instruction) {
        data::Database& db = programme().dbBase;
        instruction = sqlVin;
        db.execute(sqlVin);
        QString cle = cleChargee;
        if (nouveau) {
            // Read inside the transaction: the counter just assigned to this wine.
            instruction = QStringLiteral("SELECT MAX(cptr) AS compteur FROM Vins");
            data::Query q(&db);
            q.setSql(instruction);
            q.open();
            cle = q.eof() ? QString() : q.field(QStringLiteral("compteur")).asString();
            q.close();
            if (cle.isEmpty()) {
                throw data::EngineError(QStringLiteral("Le vin enregistré n'a pas de numéro"));
            }
        } else {
            instruction = QStringLiteral("DELETE * FROM [Sortie cave] WHERE [cptr]=") + cle;
            db.execute(instruction);
        }
        const auto ecritListe = [&](const QTableWidget* g, const QString& signe) {
            for (const int r : lignes(g)) {
                instruction = mouvement(cle, FormateValeurSQL(cellule(g, r, 0), TypeValeur::Date),
                                        signe + nombre(cellule(g, r, 1)), nombre(cellule(g, r, 2)),
                                        texte(cellule(g, r, 3)));
                db.execute(instruction);
            }
        };
        ecritListe(f.lst_sorties, QStringLiteral("-"));
        if (!lignes(f.lst_entrees).isEmpty()) {
            ecritListe(f.lst_entrees, QString());
        } else {
            instruction = mouvement(cle, FormateValeurSQL(EcritDate(QDate::currentDate()), TypeValeur::Date),
                                    QStringLiteral("0"), PositionSelectionnee(), QStringLiteral("''"));
            db.execute(instruction);
        }
    });
    const int ligneAjoutee = std::exchange(ligneEntreeCave_, -1);
    if (!ecrit) {
        // Nothing was written: the card stays as it was typed, without the
        // entry the bottle-count dialog added (the next save asks again).
        if (sansConditionnement) {
            f.EcritCoche(f.pnl_Conditionnement, QString());
        }
        if (ligneAjoutee > 0) {
            f.lst_entrees->removeRow(ligneAjoutee);
        } else if (ligneAjoutee == 0) {
            for (int c = 0; c < f.lst_entrees->columnCount(); ++c) {
                delete f.lst_entrees->takeItem(0, c);
            }
        }
        RouvreAffichage(cleChargee);
        return false;
    }
    RouvreAffichage();
    EffaceVin();
    MajApresModif();
    return true;
}

void TfrmSaisie::ChargeClassements() {
    // The classification tree follows the data once it is built from it.
}

void TfrmSaisie::Maj_quantites() {
    // The statistics follow the data once they are computed from it.
}

void TfrmSaisie::btn_NouveauClick() {
    SimulerSortieChamp();
    const Answer reponse = ValideMaj(true, true);
    if (reponse == Answer::Cancel) {
        if (etat_.DernierChampSaisie) {
            etat_.DernierChampSaisie->setFocus();
        }
        return;
    }
    if (reponse == Answer::Yes && !SauveVin()) {
        return;  // the card keeps what was typed
    }
    EffaceVin();
}

void TfrmSaisie::btn_sauverClick() {
    SimulerSortieChamp();
    {
        Sablier sablier;
        const Answer reponse = ValideMaj(false, false);
        if (reponse == Answer::Yes) {
            SauveVin();
        } else if (reponse == Answer::No && etat_.DernierChampSaisie) {
            etat_.DernierChampSaisie->setFocus();
        }
    }
    RetabliBoutonsStandard();
}

void TfrmSaisie::btn_dupliquerClick() {
    SimulerSortieChamp();
    {
        Sablier sablier;
        if (etat_.ModeNouveau) {
            dialogs().information(QStringLiteral("Il faut sélectionner le vin à dupliquer"));
        } else {
            etat_.FicheModifiee = true;
            const Answer reponse = ValideMaj(false, false);
            if (reponse == Answer::Yes) {
                etat_.ModeNouveau = true;
                if (!SauveVin()) {
                    etat_.ModeNouveau = false;  // still the loaded wine, with its edits
                }
            } else if (reponse == Answer::No && etat_.DernierChampSaisie) {
                etat_.DernierChampSaisie->setFocus();
            }
        }
    }
    RetabliBoutonsStandard();
}

void TfrmSaisie::btn_supprimerClick() {
    SimulerSortieChamp();
    Sablier sablier;
    if (etat_.ModeNouveau || !qryAffiche_->isActive() || qryAffiche_->eof()) {
        return;
    }
    FicheVin& f = *fiche;
    const QString cle = qryAffiche_->field(QStringLiteral("Cptr")).asString();
    const Answer reponse = dialogs().ask(
        QStringLiteral("Etes-vous sur de vouloir supprimer le vin '") + f.lst_nom->currentText() +
            QStringLiteral(" (") + f.lst_appellation->currentText() + QLatin1Char(' ') +
            f.txt_millesime->text() + QStringLiteral(")' ? Cette opération est irréversible"),
        DialogService::Buttons::YesNo);
    if (reponse != Answer::Yes) {
        if (etat_.DernierChampSaisie) {
            etat_.DernierChampSaisie->setFocus();
        }
        return;
    }
    const bool supprime = ExecuteTransaction([&cle](QString& instruction) {
        data::Database& db = programme().dbBase;
        instruction = QStringLiteral("DELETE * FROM [Sortie cave] WHERE [cptr]=") + cle;
        db.execute(instruction);
        instruction = QStringLiteral("DELETE * FROM Vins WHERE [cptr]=") + cle;
        db.execute(instruction);
    });
    if (!supprime) {
        RouvreAffichage(cle);
        return;
    }
    RouvreAffichage();
    EffaceVin();
    MajApresModif();
}

void TfrmSaisie::btn_supprimerToutClick() {
    SimulerSortieChamp();
    {
        Sablier sablier;
        [this] {
            if (listeVins->NombreLignes() == 0) {
                return;
            }
            const Answer reponse = ValideMaj(true, true);
            if (reponse == Answer::Cancel) {
                if (etat_.DernierChampSaisie) {
                    etat_.DernierChampSaisie->setFocus();
                }
                return;
            }
            if (reponse == Answer::Yes && !SauveVin()) {
                return;
            }
            const QString condition = etat_.ChaineSQLCourante;
            OuvreRequete(
                *qryModif_,
                QStringLiteral("SELECT COUNT(*) AS NbVins FROM RequeteInitiale AS TableSource WHERE ") +
                    condition);
            const QString n = qryModif_->isActive() && !qryModif_->eof()
                                  ? qryModif_->field(QStringLiteral("NbVins")).asString()
                                  : QStringLiteral("0");
            qryModif_->close();
            if (dialogs().ask(QStringLiteral("Etes-vous sur de vouloir supprimer les ") + n +
                                  QStringLiteral(" vins de la sélection courante ?"),
                              DialogService::Buttons::YesNo) != Answer::Yes) {
                return;
            }
            if (dialogs().message(
                    DialogService::Kind::Warning, DialogService::title(),
                    QStringLiteral("Attention : cette opération est irréversible !! Voulez-vous "
                                   "vraiment tout supprimer ?"),
                    DialogService::Buttons::YesNo) != Answer::Yes) {
                return;
            }
            // The wines are taken by key before anything is deleted: once their movements
            // are gone, the selection's condition (on the remaining stock) would no
            // longer find them.
            const QString selection =
                QStringLiteral("SELECT Cptr FROM RequeteInitiale AS TableSource WHERE ") + condition;
            const bool supprime = ExecuteTransaction([&selection](QString& instruction) {
                data::Database& db = programme().dbBase;
                QStringList cles;
                instruction = selection;
                data::Query q(&db);
                q.setSql(selection);
                for (q.open(); !q.eof(); q.next()) {
                    cles << q.field(0).asString();
                }
                q.close();
                constexpr qsizetype kParInstruction = 500;
                for (qsizetype i = 0; i < cles.size(); i += kParInstruction) {
                    const QString liste = QStringLiteral(" IN (") +
                                          cles.mid(i, kParInstruction).join(QStringLiteral(", ")) +
                                          QStringLiteral(")");
                    instruction = QStringLiteral("DELETE * FROM [Sortie cave] WHERE [cptr]") + liste;
                    db.execute(instruction);
                    instruction = QStringLiteral("DELETE * FROM Vins WHERE [cptr]") + liste;
                    db.execute(instruction);
                }
            });
            if (!supprime) {
                return;
            }
            RouvreAffichage();
            EffaceVin();
            MajApresModif();
        }();
    }
    RetabliBoutonsStandard();
}

bool TfrmSaisie::FormCloseQuery() {
    const Answer reponse = ValideMaj(true, true);
    if (reponse == Answer::Cancel) {
        if (etat_.DernierChampSaisie) {
            etat_.DernierChampSaisie->setFocus();
        }
        return false;
    }
    if (reponse == Answer::Yes) {
        return SauveVin();  // a failed save keeps the window open with the card as typed
    }
    return true;
}

void TfrmSaisie::lst_nomExit() {
    FicheVin& f = *fiche;
    ui::AligneSurListe(f.lst_nom);
    const QString nom = f.lst_nom->currentText();
    if (nom.isEmpty()) {
        return;
    }
    OuvreRequete(*qryModif_, QStringLiteral("SELECT * FROM Vins WHERE Nom = ") + Quote(nom));
    const bool trouve = qryModif_->isActive() && !qryModif_->eof();
    const QString appellation =
        trouve ? qryModif_->field(QStringLiteral("appellation")).asString() : QString();
    qryModif_->close();
    if (trouve) {
        f.lst_appellation->setEditText(appellation);
        lst_appellationExit(false);
    }
}

void TfrmSaisie::lst_appellationExit(bool commeSortie) {
    FicheVin& f = *fiche;
    if (commeSortie) {
        ui::AligneSurListe(f.lst_appellation);
    }
    const QString appellation = f.lst_appellation->currentText();
    OuvreRequete(*qryModif_,
                 QStringLiteral("SELECT * FROM Appellations WHERE Appellation = ") + Quote(appellation));
    const bool trouve = qryModif_->isActive() && !qryModif_->eof();
    const QString region = trouve ? qryModif_->field(QStringLiteral("Region")).asString() : QString();
    qryModif_->close();
    if (appellation.isEmpty() || trouve) {
        f.lst_region->setEditText(region);
        return;
    }
    if (dialogs().ask(QStringLiteral("Cette appellation n'existe pas dans la liste. Voulez-vous la créer ?"),
                      DialogService::Buttons::YesNo) != Answer::Yes) {
        f.lst_region->setEditText({});
        return;
    }
    QStringList regions;
    try {
        RemplitChainesSQL(regions,
                          QStringLiteral("SELECT DISTINCT Region FROM Appellations ORDER BY Region;"));
    } catch (const data::EngineError& e) {
        dialogs().error(TexteErreurSQL(
            QStringLiteral("SELECT DISTINCT Region FROM Appellations ORDER BY Region;"), e.message()));
    }
    ui::TfrmChoix choix(this);
    choix.lblChoix->setText(QStringLiteral("Sélectionner une région"));
    choix.lstChoix->addItems(regions);
    choix.lstChoix->setCurrentIndex(-1);
    const int r = choix.Choisit();
    if (r >= 1 && r <= regions.size()) {
        ExecuteRequete(*qryModif_, QStringLiteral("INSERT INTO Appellations (Appellation, Region) VALUES (") +
                                       Quote(appellation) + QStringLiteral(", ") + Quote(regions[r - 1]) +
                                       QStringLiteral(")"));
        RemplitListe(f.lst_region, kSqlRegions);
        RemplitListe(f.lst_appellation, kSqlAppellations);
        f.lst_appellation->setEditText(appellation);
    } else {
        f.lst_appellation->setEditText({});
    }
    lst_appellationExit(false);
}

void TfrmSaisie::lst_regionChange() {
    DetecteChangement();
    fiche->lst_appellation->setEditText({});
}

}  // namespace vinorium::card
