#include "navigation/frmcolonnesselection.h"

#include "navigation/listevins.h"
#include "ui/accessibility.h"
#include "ui/theme.h"

#include <QDropEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <functional>

namespace vinorium::navigation {

namespace {

const QString kIcone = QStringLiteral("Icône type et vieillissement");

// The check list: a drag starts only from an entry other than the first, and
// a drop moves it through the window's rules.
class ListeColonnes final : public QListWidget {
  public:
    explicit ListeColonnes(QWidget* parent) : QListWidget(parent) {
        setDragDropMode(QAbstractItemView::InternalMove);
        setDefaultDropAction(Qt::MoveAction);
    }
    std::function<bool(int, int)> deplace;

  protected:
    void startDrag(Qt::DropActions actions) override {
        if (currentRow() > 0) {
            QListWidget::startDrag(actions);
        }
    }
    void dropEvent(QDropEvent* event) override {
        const int depuis = currentRow();
        const QListWidgetItem* cible = itemAt(event->position().toPoint());
        if (cible && deplace) {
            deplace(depuis, row(cible));
        }
        event->setDropAction(Qt::IgnoreAction);
        event->accept();
    }
};

}  // namespace

TfrmColonnesSelection::TfrmColonnesSelection(ListeVins& liste, QWidget* parent)
    : QDialog(parent), liste_(liste) {
    setObjectName(QStringLiteral("frmColonnesSelection"));
    setWindowTitle(QStringLiteral("Choix des colonnes"));
    auto* colonnes = new ListeColonnes(this);
    colonnes->deplace = [this](int depuis, int vers) { return DeplaceEntree(depuis, vers); };
    lstColonnes = colonnes;
    lstColonnes->setObjectName(QStringLiteral("lstColonnes"));
    lstColonnes->setAccessibleName(QStringLiteral("Colonnes de la liste des vins"));

    auto bouton = [this](const QString& texte, const char* nom) {
        auto* b = new QPushButton(texte, this);
        b->setObjectName(QString::fromLatin1(nom));
        b->setAutoDefault(false);
        return b;
    };
    btnHaut = bouton(QStringLiteral("Vers le &Haut"), "btnHaut");
    btnBas = bouton(QStringLiteral("Vers le &Bas"), "btnBas");
    btnDecocher = bouton(QStringLiteral("Tout &décocher"), "btnDecocher");
    btnCocher = bouton(QStringLiteral("Tout &cocher"), "btnCocher");
    btnOK = bouton(QStringLiteral("&OK"), "btnOK");
    btnAnnuler = bouton(QStringLiteral("&Annuler"), "btnAnnuler");
    btnOK->setDefault(true);

    auto* boutons = new QVBoxLayout;
    for (QPushButton* b : {btnHaut, btnBas, btnDecocher, btnCocher}) {
        boutons->addWidget(b);
    }
    boutons->addStretch(1);
    boutons->addWidget(btnOK);
    boutons->addWidget(btnAnnuler);
    auto* disposition = new QHBoxLayout(this);
    disposition->addWidget(lstColonnes, 1);
    disposition->addLayout(boutons);

    connect(btnHaut, &QPushButton::clicked, this,
            [this] { DeplaceEntree(lstColonnes->currentRow(), lstColonnes->currentRow() - 1); });
    connect(btnBas, &QPushButton::clicked, this,
            [this] { DeplaceEntree(lstColonnes->currentRow(), lstColonnes->currentRow() + 1); });
    connect(btnDecocher, &QPushButton::clicked, this, [this] { CocheTout(false); });
    connect(btnCocher, &QPushButton::clicked, this, [this] { CocheTout(true); });
    connect(btnOK, &QPushButton::clicked, this, &TfrmColonnesSelection::Valide);
    connect(btnAnnuler, &QPushButton::clicked, this, &QDialog::reject);

    // The shown columns in order, checked, then the others of the catalogue.
    QStringList affichees;
    for (int j : liste_.ordreColonnes()) {
        const QString titre = liste_.TitreColonne(j);
        affichees << titre;
        auto* item = new QListWidgetItem(titre.isEmpty() ? kIcone : titre, lstColonnes);
        item->setCheckState(Qt::Checked);
        if (titre.isEmpty()) {
            item->setFlags(item->flags() & ~(Qt::ItemIsUserCheckable | Qt::ItemIsDragEnabled));
        }
    }
    for (const LigneCatalogue& l : liste_.lstColonnesListeSelection) {
        if (l.defaut == QStringLiteral("-1") || l.nomAffiche.isEmpty() ||
            affichees.contains(l.nomAffiche, Qt::CaseInsensitive)) {
            continue;
        }
        auto* item = new QListWidgetItem(l.nomAffiche, lstColonnes);
        item->setCheckState(Qt::Unchecked);
    }
    setFixedSize(sizeHint());
    if (const QScreen* ecran = screen()) {
        move(ecran->availableGeometry().center() - rect().center());
    }
    ui::AppliqueTheme(this, true, false);
    ui::nameControls(this);
}

bool TfrmColonnesSelection::DeplaceEntree(int depuis, int vers) {
    if (depuis <= 0 || vers <= 0 || depuis >= lstColonnes->count() || vers >= lstColonnes->count() ||
        depuis == vers) {
        return false;
    }
    QListWidgetItem* item = lstColonnes->takeItem(depuis);
    lstColonnes->insertItem(vers, item);
    lstColonnes->setCurrentRow(vers);
    return true;
}

void TfrmColonnesSelection::CocheTout(bool coche) {
    for (int i = 1; i < lstColonnes->count(); ++i) {
        lstColonnes->item(i)->setCheckState(coche ? Qt::Checked : Qt::Unchecked);
    }
}

void TfrmColonnesSelection::Valide() {
    QList<ListeVins::DefColonne> anciennes;
    for (int j : liste_.ordreColonnes()) {
        anciennes.append({liste_.TitreColonne(j), liste_.LargeurColonne(j), liste_.EtatTri(j)});
    }
    QList<ListeVins::DefColonne> nouvelles;
    for (int i = 0; i < lstColonnes->count(); ++i) {
        const QListWidgetItem* item = lstColonnes->item(i);
        if (i > 0 && item->checkState() != Qt::Checked) {
            continue;
        }
        const QString titre = i == 0 ? QString() : item->text();
        int largeur = 0;
        int etat = 0;
        for (const ListeVins::DefColonne& a : anciennes) {
            if (a.titre == titre) {
                largeur = a.largeur;
                etat = a.etat;
                break;
            }
        }
        if (largeur == 0) {
            const LigneCatalogue* ligne = liste_.LigneDe(titre);
            largeur = ligne ? ligne->defaut.toInt() : 0;
        }
        nouvelles.append({titre, largeur > 0 ? largeur : 50, etat});
    }
    liste_.DefinitColonnes(nouvelles);
    liste_.Recharge();
    accept();
}

}  // namespace vinorium::navigation
