// The stock movements of the card: adding, modifying and deleting entries and
// exits of bottles in the two lists, the stock checks that guard every change,
// the counts and the information labels.

#include "card/fichevin.h"
#include "card/frmsaisie.h"
#include "data/dialogservice.h"
#include "ui/flatcontrols.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>

#include <functional>

namespace vinorium::card {

namespace {

// Hands the events of the movement lists and comments to the window.
class FiltreMouvements final : public QObject {
  public:
    FiltreMouvements(QObject* parent, std::function<bool(QObject*, QEvent*)> filtre)
        : QObject(parent), filtre_(std::move(filtre)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override { return filtre_(watched, event); }

  private:
    std::function<bool(QObject*, QEvent*)> filtre_;
};

QString texte(const QTableWidget* g, int r, int c) {
    const QTableWidgetItem* item = r >= 0 ? g->item(r, c) : nullptr;
    return item ? item->text() : QString();
}

// The list holds no row: only the blank row of the grid, with nothing in it.
bool listeVide(const QTableWidget* g) {
    if (g->rowCount() == 0) {
        return true;
    }
    if (g->rowCount() > 1) {
        return false;
    }
    for (int c = 0; c < g->columnCount(); ++c) {
        if (!texte(g, 0, c).isEmpty()) {
            return false;
        }
    }
    return true;
}

// The selected row counts as empty when its date is empty.
bool selectionVide(const QTableWidget* g) {
    return texte(g, g->currentRow(), 0).isEmpty();
}

bool estNombre(const QString& t) {
    bool ok = false;
    t.toInt(&ok);
    return ok;
}

}  // namespace

void TfrmSaisie::relieMouvements() {
    FicheVin& f = *fiche;
    auto* filtre =
        new FiltreMouvements(this, [this](QObject* o, QEvent* e) { return filtreMouvements(o, e); });
    for (QObject* o : std::initializer_list<QObject*>{f.lst_entrees, f.lst_sorties, f.txt_CommentaireEntree,
                                                      f.txt_CommentaireSortie}) {
        o->installEventFilter(filtre);
    }
    connect(f.btn_EntreeCave, &QAbstractButton::clicked, this, [this] { btn_EntreeCaveClick(); });
    connect(f.btn_SortieCave, &QAbstractButton::clicked, this, [this] { btn_SortieCaveClick(); });
    connect(f.btn_ModifEntreeCave, &QAbstractButton::clicked, this, [this] { btn_ModifEntreeCaveClick(); });
    connect(f.btn_ModifSortieCave, &QAbstractButton::clicked, this, [this] { btn_ModifSortieCaveClick(); });
    connect(f.btn_SupprEntreeCave, &QAbstractButton::clicked, this,
            [this] { SupprEntreeSortie(fiche->lst_entrees); });
    connect(f.btn_SupprSortieCave, &QAbstractButton::clicked, this,
            [this] { SupprEntreeSortie(fiche->lst_sorties); });
    connect(f.lst_entrees, &QTableWidget::cellClicked, this, [this] { lst_entreesClick(); });
    connect(f.lst_sorties, &QTableWidget::cellClicked, this, [this] { lst_sortiesClick(); });
}

bool TfrmSaisie::filtreMouvements(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    FicheVin& f = *fiche;
    const auto* e = static_cast<QKeyEvent*>(event);
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        if (watched == f.txt_CommentaireEntree) {
            btn_EntreeCaveClick();
            return true;
        }
        if (watched == f.txt_CommentaireSortie) {
            btn_SortieCaveClick();
            return true;
        }
    }
    if (e->key() == Qt::Key_Delete && (watched == f.lst_entrees || watched == f.lst_sorties)) {
        SupprEntreeSortie(static_cast<QTableWidget*>(watched));
        return true;
    }
    return false;
}

void TfrmSaisie::EffaceListesEntreesSorties() {
    for (QTableWidget* g : {fiche->lst_entrees, fiche->lst_sorties}) {
        g->clearContents();
        g->setRowCount(1);
    }
}

void TfrmSaisie::EffaceEntreeSortie(ui::FlatEdit* date, ui::FlatEdit* quantite, ui::FlatEdit* position,
                                    QPlainTextEdit* commentaire) {
    date->clear();
    quantite->clear();
    position->clear();
    commentaire->clear();
}

int TfrmSaisie::CalculeQuantiteEntreeSortie(const QTableWidget* liste, const QString& position) const {
    int somme = 0;
    for (int r = 0; r < liste->rowCount(); ++r) {
        const QString q = texte(liste, r, 1);
        if (!q.isEmpty() && (position.isEmpty() || texte(liste, r, 2) == position)) {
            somme += q.toInt();
        }
    }
    return somme;
}

int TfrmSaisie::CalculeQuantiteRestante(const QString& position, int exclue, const QString& kind) const {
    const auto somme = [&position](const QTableWidget* g, int sautee) {
        int s = 0;
        for (int r = 0; r < g->rowCount(); ++r) {
            const QString q = texte(g, r, 1);
            if (r != sautee && !q.isEmpty() && (position.isEmpty() || texte(g, r, 2) == position)) {
                s += q.toInt();
            }
        }
        return s;
    };
    return somme(fiche->lst_entrees, kind == QLatin1String("entree") ? exclue : -1) -
           somme(fiche->lst_sorties, kind == QLatin1String("sortie") ? exclue : -1);
}

bool TfrmSaisie::ValideModifEntreeSortieCave(QTableWidget* liste, const QString& date, const QString& kind,
                                             const QString& position, const QString& quantite) {
    if (liste && selectionVide(liste)) {
        dialogs().warning(QStringLiteral("Sélectionner une ligne non vide dans la liste"));
        return false;
    }
    if (date.isEmpty()) {
        dialogs().warning(QStringLiteral("Saisir une date"));
        return false;
    }
    if ((!quantite.isEmpty() && !estNombre(quantite)) || (!position.isEmpty() && !estNombre(position))) {
        dialogs().warning(QStringLiteral("Quantité non valide"));
        return false;
    }
    if (quantite.isEmpty() || quantite.toInt() == 0) {
        dialogs().warning(QStringLiteral("Saisir une quantité non nulle"));
        return false;
    }
    if (kind == QLatin1String("sortie") && position.isEmpty()) {
        dialogs().warning(QStringLiteral("Saisir une position"));
        return false;
    }
    return true;
}

void TfrmSaisie::ApresModifMouvement() {
    fiche->txt_QuantiteRestante->setText(QString::number(CalculeQuantiteRestante(QString(), -1, QString())));
    AffichePositions();
    etat_.FicheModifiee = true;
}

void TfrmSaisie::ModifEntreeSortieClick(QTableWidget* liste, ui::FlatEdit* date, ui::FlatEdit* quantite,
                                        ui::FlatEdit* position, QPlainTextEdit* commentaire, bool ajout) {
    int r = liste->currentRow();
    if (ajout) {
        if (listeVide(liste)) {
            liste->setRowCount(1);
            r = 0;
        } else {
            r = liste->rowCount();
            liste->insertRow(r);
        }
    }
    if (r < 0) {
        return;
    }
    const QStringList cellules{date->text(), quantite->text(),
                               position->text().isEmpty() ? QStringLiteral("0") : position->text(),
                               commentaire->toPlainText()};
    for (int c = 0; c < 4; ++c) {
        liste->setItem(r, c, new QTableWidgetItem(cellules[c]));
    }
    liste->viewport()->update();
    EffaceEntreeSortie(date, quantite, position, commentaire);
    if (quantite->isVisible()) {
        quantite->setFocus(Qt::OtherFocusReason);
    }
    ApresModifMouvement();
    MajLblEntreeSortie(liste);
}

void TfrmSaisie::btn_EntreeCaveClick() {
    FicheVin& f = *fiche;
    if (!ValideModifEntreeSortieCave(nullptr, f.txt_DateEntree->text(), QStringLiteral("entree"),
                                     f.txt_PositionEntree->text(), f.txt_QuantiteEntree->text())) {
        return;
    }
    ModifEntreeSortieClick(f.lst_entrees, f.txt_DateEntree, f.txt_QuantiteEntree, f.txt_PositionEntree,
                           f.txt_CommentaireEntree, true);
}

void TfrmSaisie::btn_SortieCaveClick() {
    FicheVin& f = *fiche;
    const QString p = f.txt_PositionSortie->text();
    const QString n = f.txt_QuantiteSortie->text();
    if (!ValideModifEntreeSortieCave(nullptr, f.txt_DateSortie->text(), QStringLiteral("sortie"), p, n)) {
        return;
    }
    const int r = CalculeQuantiteRestante(p, -1, QString());
    if (listeVide(f.lst_entrees)) {
        dialogs().warning(
            QStringLiteral("Entrer des bouteilles en cave avant de saisir des sorties de cave"));
        return;
    }
    if (CalculeQuantiteEntreeSortie(f.lst_entrees, p) == 0) {
        dialogs().warning(QStringLiteral("Il n'y a pas de bouteilles à l'emplacement ") + p);
        return;
    }
    if (r == 0) {
        dialogs().warning(QStringLiteral("Il ne reste plus de bouteilles à l'emplacement ") + p);
        return;
    }
    if (r < n.toInt()) {
        dialogs().warning(QStringLiteral("Il ne reste que ") + QString::number(r) +
                          QStringLiteral(" bouteille(s) à l'emplacement ") + p);
        return;
    }
    ModifEntreeSortieClick(f.lst_sorties, f.txt_DateSortie, f.txt_QuantiteSortie, f.txt_PositionSortie,
                           f.txt_CommentaireSortie, true);
}

void TfrmSaisie::btn_ModifEntreeCaveClick() {
    FicheVin& f = *fiche;
    QTableWidget* g = f.lst_entrees;
    QString p = f.txt_PositionEntree->text();
    const QString n = f.txt_QuantiteEntree->text();
    if (!ValideModifEntreeSortieCave(g, f.txt_DateEntree->text(), QStringLiteral("entree"), p, n)) {
        return;
    }
    if (p.isEmpty()) {
        p = QStringLiteral("0");  // the row is written with position 0
    }
    const int ligne = g->currentRow();
    const QString o = texte(g, ligne, 2);
    const int r = CalculeQuantiteRestante(o, ligne, QStringLiteral("entree"));
    const auto pasAssez = [](const QString& position) {
        dialogs().warning(QStringLiteral("Il ne reste pas assez de bouteilles à l'emplacement ") + position +
                          QStringLiteral(" pour effectuer cette opération"));
    };
    if (p != o) {
        bool sortiesEnO = false;
        for (int i = 0; i < f.lst_sorties->rowCount(); ++i) {
            sortiesEnO =
                sortiesEnO || (!texte(f.lst_sorties, i, 0).isEmpty() && texte(f.lst_sorties, i, 2) == o);
        }
        if (sortiesEnO) {
            const auto reponse =
                dialogs().ask(QStringLiteral("Voulez-vous déplacer toutes les entrées / sorties "
                                             "de l'emplacement ") +
                              o + QStringLiteral(" vers l'emplacement ") + p + QStringLiteral(" ?"));
            if (reponse == DialogService::Answer::Yes) {
                if (n.toInt() + r < 0) {
                    pasAssez(p);
                    return;
                }
                for (QTableWidget* liste : {f.lst_sorties, f.lst_entrees}) {
                    for (int i = 0; i < liste->rowCount(); ++i) {
                        if (texte(liste, i, 2) == o && !texte(liste, i, 1).isEmpty()) {
                            liste->setItem(i, 2, new QTableWidgetItem(p));
                        }
                    }
                }
            } else if (r < 0) {
                pasAssez(o);
                return;
            }
        }
    } else if (n.toInt() + r < 0) {
        pasAssez(p);
        return;
    }
    ModifEntreeSortieClick(g, f.txt_DateEntree, f.txt_QuantiteEntree, f.txt_PositionEntree,
                           f.txt_CommentaireEntree, false);
}

void TfrmSaisie::btn_ModifSortieCaveClick() {
    FicheVin& f = *fiche;
    QTableWidget* g = f.lst_sorties;
    const QString p = f.txt_PositionSortie->text();
    const QString n = f.txt_QuantiteSortie->text();
    if (!ValideModifEntreeSortieCave(g, f.txt_DateSortie->text(), QStringLiteral("sortie"), p, n)) {
        return;
    }
    // The stock is checked where the exit will be: the position typed, the
    // selected exit left out (it only counts when it already is there).
    const int r = CalculeQuantiteRestante(p, g->currentRow(), QStringLiteral("sortie"));
    if (r < n.toInt()) {
        dialogs().warning(QStringLiteral("Il reste ") + QString::number(r) +
                          QStringLiteral(" bouteilles à l'emplacement ") + p +
                          QStringLiteral(" ce qui n'est pas suffisant pour effectuer cette opération"));
        return;
    }
    ModifEntreeSortieClick(g, f.txt_DateSortie, f.txt_QuantiteSortie, f.txt_PositionSortie,
                           f.txt_CommentaireSortie, false);
}

void TfrmSaisie::SupprEntreeSortie(QTableWidget* liste) {
    const int ligne = liste->currentRow();
    if (ligne < 0 || selectionVide(liste)) {
        return;
    }
    if (liste == fiche->lst_entrees) {
        const QString n = texte(liste, ligne, 1);
        const QString o = texte(liste, ligne, 2);
        if (!n.isEmpty() && CalculeQuantiteRestante(o, -1, QString()) < n.toInt()) {
            dialogs().warning(QStringLiteral("La quantité restante à l'emplacement ") + o +
                              QStringLiteral(" n'est pas suffisante pour effectuer cette opération"));
            return;
        }
    }
    if (liste->rowCount() == 1) {
        liste->clearContents();
    } else {
        liste->removeRow(ligne);
    }
    ApresModifMouvement();
    MajLblEntreeSortie(liste);
}

void TfrmSaisie::lst_entreesClick() {
    FicheVin& f = *fiche;
    QTableWidget* g = f.lst_entrees;
    if (!selectionVide(g)) {
        const int r = g->currentRow();
        f.txt_DateEntree->setText(texte(g, r, 0));
        f.txt_QuantiteEntree->setText(texte(g, r, 1));
        f.txt_PositionEntree->setText(texte(g, r, 2));
        f.txt_CommentaireEntree->setPlainText(texte(g, r, 3));
    }
    MajLblEntreeSortie(g);
}

void TfrmSaisie::lst_sortiesClick() {
    FicheVin& f = *fiche;
    QTableWidget* g = f.lst_sorties;
    if (!selectionVide(g)) {
        const int r = g->currentRow();
        f.txt_DateSortie->setText(texte(g, r, 0));
        f.txt_QuantiteSortie->setText(texte(g, r, 1));
        f.txt_PositionSortie->setText(texte(g, r, 2));
        f.txt_CommentaireSortie->setPlainText(texte(g, r, 3));
    }
    MajLblEntreeSortie(g);
}

void TfrmSaisie::MajLblEntreeSortie(QTableWidget* liste) {
    FicheVin& f = *fiche;
    const bool entrees = liste == f.lst_entrees;
    QLabel* label = entrees ? f.lblEntree : f.lblSortie;
    const QTableWidget* autre = entrees ? f.lst_sorties : f.lst_entrees;
    if (selectionVide(liste)) {
        label->clear();
        return;
    }
    const QString p = texte(liste, liste->currentRow(), 2);
    label->setText(QStringLiteral("Position ") + p + QStringLiteral(" : ") +
                   QString::number(CalculeQuantiteEntreeSortie(autre, p)) + QStringLiteral(" bouteilles ") +
                   (entrees ? QStringLiteral("sortie") : QStringLiteral("entrée")) + QStringLiteral("(s), ") +
                   QString::number(CalculeQuantiteRestante(p, -1, QString())) +
                   QStringLiteral(" restante(s)"));
}

}  // namespace vinorium::card
