#include "ui/controles.h"

#include "data/paths.h"
#include "data/requetes.h"
#include "ui/flatcontrols.h"
#include "ui/theme.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTableWidget>
#include <QUrl>
#include <QVariant>

namespace vinorium::ui {

int Tag(const QWidget* w) {
    return w->property("Tag").toInt();
}

void SetTag(QWidget* w, int tag) {
    w->setProperty("Tag", tag);
}

namespace {

const QRadioButton* premiereCochee(const QWidget* panel) {
    for (const QObject* child : panel->children()) {
        if (const auto* option = qobject_cast<const QRadioButton*>(child); option && option->isChecked()) {
            return option;
        }
    }
    return nullptr;
}

}  // namespace

QString DonneTexteCoche(const QWidget* panel) {
    const QRadioButton* option = premiereCochee(panel);
    if (!option) {
        return {};
    }
    const QString caption = option->text();
    const qsizetype parenthese = caption.indexOf(QLatin1Char('('));
    return parenthese < 0 ? caption : caption.left(parenthese);
}

int DonneNumeroCoche(const QWidget* panel) {
    const QRadioButton* option = premiereCochee(panel);
    if (!option || option->objectName().isEmpty()) {
        return 0;
    }
    return QString(option->objectName().back()).toInt();
}

QRadioButton*& OptionCochee() {
    static QRadioButton* option = nullptr;
    return option;
}

void BasculeOption(FlatRadioButton* option) {
    const Palette& p = palette();
    if (QWidget* parent = option->parentWidget()) {
        for (QObject* child : parent->children()) {
            if (auto* sibling = qobject_cast<FlatRadioButton*>(child)) {
                sibling->setFontColor(p.CouleurMoyenne);
            }
        }
    }
    if (OptionCochee() == option) {
        // A second click on the checked option clears the choice.
        const bool exclusive = option->autoExclusive();
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(exclusive);
        OptionCochee() = nullptr;
    } else {
        option->setFontColor(p.CouleurAccent);
    }
}

void CouleurBoutonBascule(FlatSpeedButton* button) {
    button->setFontColor(button->isChecked() ? palette().CouleurFond : kCouleurLegende);
}

void CouleurCaseACocher(FlatCheckBox* check) {
    check->setFontColor(check->isChecked() ? palette().CouleurAccent : palette().CouleurMoyenne);
}

void ConstruitPlan(data::Query& query, QWidget* panel, bool groupe,
                   const std::function<void(FlatSpeedButton*)>& clic, QMenu* menu) {
    const QList<QObject*> children = panel->children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        auto* cell = qobject_cast<FlatSpeedButton*>(*it);
        if (cell && !cell->objectName().startsWith(QLatin1String("btnAilleurs"))) {
            delete cell;
        }
    }
    OuvreRequete(query, QStringLiteral("SELECT * FROM PLAN"));
    const QString nom = panel->objectName();
    const bool planMouvements = nom == QLatin1String("pnlPlanEntreeSortie");
    const bool planFiche = nom == QLatin1String("grp_Position");
    const int decalage = (planMouvements || planFiche) ? 15 : 0;
    int cellules = 0;
    while (query.isActive() && !query.eof()) {
        const int indexe = static_cast<int>(query.field(QStringLiteral("Indexe")).asInteger());
        auto* cell = new FlatSpeedButton(panel);
        cell->setObjectName(QStringLiteral("btn_Position") + QString::number(indexe));
        cell->setGeometry(static_cast<int>(query.field(QStringLiteral("Gauche")).asInteger()) + decalage,
                          static_cast<int>(query.field(QStringLiteral("Haut")).asInteger()),
                          static_cast<int>(query.field(QStringLiteral("Largeur")).asInteger()),
                          static_cast<int>(query.field(QStringLiteral("Hauteur")).asInteger()));
        SetTag(cell, indexe);
        cell->setProperty(kComposantDuPanneau, true);
        cell->setColorDown(palette().CouleurTexte);
        cell->setColorFocused(palette().CouleurMoyenne);
        cell->setColorHighLight(kCouleurSurbrillance);
        cell->setFont(QFont(QStringLiteral("Arial"), 7));
        cell->setAllowAllUp(true);
        cell->setGroupIndex(groupe ? 1 : indexe);
        cell->setAccessibleName(QStringLiteral("Position ") + QString::number(indexe));
        if (planMouvements) {
            cell->setToolTip(QStringLiteral("Position ") + QString::number(indexe));
        }
        if (clic && (planMouvements || planFiche)) {
            QObject::connect(cell, &QToolButton::clicked, cell, [clic, cell] { clic(cell); });
        }
        if (planFiche && menu) {
            cell->setContextMenuPolicy(Qt::CustomContextMenu);
            QObject::connect(cell, &QWidget::customContextMenuRequested, cell,
                             [menu, cell](const QPoint& at) { menu->popup(cell->mapToGlobal(at)); });
        }
        cell->show();
        ++cellules;
        query.next();
    }
    query.close();
    if (planFiche) {
        if (auto* label = panel->window()->findChild<QLabel*>(QStringLiteral("lblPersonnalisePlan"))) {
            label->move(label->x(), cellules == 0 ? 57 : 200);
        }
    }
}

void AfficheNumerosPlan(QWidget* panel, bool afficher) {
    for (QObject* child : panel->children()) {
        if (auto* cell = qobject_cast<FlatSpeedButton*>(child)) {
            cell->setText(afficher ? QString::number(Tag(cell)) : QString());
        }
    }
}

void RemplitComboSQL(QComboBox* combo, const QString& sql) {
    QStringList chaines;
    RemplitChainesSQL(chaines, sql);
    combo->clear();
    combo->addItems(chaines);
}

void RemplitListeSQL(QListWidget* liste, const QString& sql) {
    QStringList chaines;
    RemplitChainesSQL(chaines, sql);
    liste->clear();
    liste->addItems(chaines);
}

void RemplitCombo(QComboBox* combo, const QStringList& chaines) {
    for (const QString& chaine : chaines) {
        combo->addItem(chaine.isEmpty() ? QStringLiteral(" ") : chaine);
    }
}

void AligneSurListe(QComboBox* combo) {
    const QString texte = combo->currentText();
    if (texte.isEmpty()) {
        return;
    }
    QString aligne = texte;
    for (int i = 0; i < combo->count(); ++i) {
        const QString item = combo->itemText(i);
        if (item != texte && item.compare(texte, Qt::CaseInsensitive) == 0) {
            aligne = item;
        }
    }
    if (aligne != texte) {
        combo->setCurrentText(aligne);
    }
}

int DonneIndexCoche(const QListWidget* liste, bool premier) {
    int trouve = -1;
    for (int i = 0; i < liste->count(); ++i) {
        if (liste->item(i)->checkState() == Qt::Checked) {
            trouve = i;
            if (premier) {
                break;
            }
        }
    }
    return trouve < 0 ? 0 : trouve;
}

void AjouteLigneGrille(QTableWidget* grille, const QString& texte) {
    const int derniere = grille->rowCount() - 1;
    const auto premiereCellule = [grille](int row) {
        const QTableWidgetItem* item = grille->item(row, 0);
        return item ? item->text() : QString();
    };
    if (Tag(grille) != 0 || derniere < 0 || !premiereCellule(derniere).isEmpty()) {
        grille->insertRow(grille->rowCount());
    }
    const int row = grille->rowCount() - 1;
    const QStringList champs = texte.split(QLatin1Char(';'));
    if (grille->columnCount() < champs.size()) {
        grille->setColumnCount(static_cast<int>(champs.size()));
    }
    for (int c = 0; c < champs.size(); ++c) {
        grille->setItem(row, c, new QTableWidgetItem(champs[c]));
    }
}

bool OuvreDocument(const QString& cible) {
    QUrl url(cible);
    if (url.scheme().isEmpty() || url.scheme().size() == 1) {  // a file (or a drive letter)
        const QFileInfo info(QDir(paths::dataDir()), cible);
        url = QUrl::fromLocalFile(info.absoluteFilePath());
    }
    return QDesktopServices::openUrl(url);
}

}  // namespace vinorium::ui
