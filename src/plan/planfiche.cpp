#include "plan/planfiche.h"

#include "ui/controles.h"
#include "ui/flatcontrols.h"
#include "ui/theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace vinorium::plan {

namespace {

const QString kHintPlan = QStringLiteral(
    "Plan de cave. Les emplacemements occupés par le vin et définis dans les entrées sont colorés "
    "différemment. Si un seul emplacement est utilisé, il est possible de déplacer le vin en cliquant "
    "directement sur le nouvel emplacement.");

ui::FlatSpeedButton* bandeAilleurs(QWidget* parent, const QString& nom) {
    auto* b = new ui::FlatSpeedButton(parent);
    b->setObjectName(nom);
    b->setGeometry(0, 0, 15, 140);
    b->setCheckable(true);
    b->setGroupIndex(1);
    b->setAllowAllUp(true);
    b->setToolTip(QStringLiteral("Ailleurs|Bouteilles placées ailleurs que sur le plan de cave"));
    ui::SetTag(b, 0);
    return b;
}

// Width and height that hold every cell of a plan panel.
QSize etendue(const QWidget* panel) {
    QRect r(0, 0, 15, 140);
    for (const QObject* child : panel->children()) {
        if (const auto* w = qobject_cast<const QWidget*>(child)) {
            if (qobject_cast<const ui::FlatSpeedButton*>(w)) {
                r = r.united(w->geometry());
            }
        }
    }
    return {r.right() + 3, r.bottom() + 3};
}

}  // namespace

PlanFiche::PlanFiche(QWidget* pageCave, QWidget* hotePopup) : QObject(pageCave) {
    pnlPlan = new ui::FlatPanel(pageCave);
    pnlPlan->setObjectName(QStringLiteral("pnlPlan"));
    pnlPlan->setToolTip(kHintPlan);
    auto* cadre = new QHBoxLayout(pnlPlan);
    cadre->setContentsMargins(2, 2, 2, 2);
    cadre->setSpacing(4);

    grp_Position = new ui::FlatPanel(pnlPlan);
    grp_Position->setObjectName(QStringLiteral("grp_Position"));
    grp_Position->setMinimumSize(200, 140);
    grp_Position->setToolTip(kHintPlan);
    btnAilleurs = bandeAilleurs(grp_Position, QStringLiteral("btnAilleurs"));
    lblPersonnalisePlan =
        new QLabel(QStringLiteral("Cliquer ici pour personnaliser le plan de cave"), grp_Position);
    lblPersonnalisePlan->setObjectName(QStringLiteral("lblPersonnalisePlan"));
    lblPersonnalisePlan->setCursor(Qt::PointingHandCursor);
    lblPersonnalisePlan->adjustSize();
    lblPersonnalisePlan->move(30, 57);
    cadre->addWidget(grp_Position, 1);

    auto* modes = new QVBoxLayout;
    modes->setSpacing(4);
    const auto mode = [this](const QString& nom, const QString& texte, const QString& hint) {
        auto* b = new ui::FlatSpeedButton(pnlPlan);
        b->setObjectName(nom);
        b->setText(texte);
        b->setToolTip(hint);
        b->setCheckable(true);
        b->setGroupIndex(2);
        b->setMinimumWidth(120);
        b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        return b;
    };
    btnQuantitePlan = mode(QStringLiteral("btnQuantitePlan"), QStringLiteral("Quantités restantes"),
                           QStringLiteral("Quantités restantes|Affiche sur le plan le nombre de bouteilles "
                                          "restant à chaque emplacement du vin."));
    btnNumPlan = mode(QStringLiteral("btnNumPlan"), QStringLiteral("Numérotation"),
                      QStringLiteral("Numérotation|Affiche sur le plan le numéro de chaque emplacement."));
    modes->addWidget(btnQuantitePlan);
    modes->addWidget(btnNumPlan);
    modes->addStretch(1);
    cadre->addLayout(modes);

    pnlPositionEntreeSortie = new ui::FlatPanel(hotePopup);
    pnlPositionEntreeSortie->setObjectName(QStringLiteral("pnlPositionEntreeSortie"));
    pnlPositionEntreeSortie->hide();
    auto* popup = new QVBoxLayout(pnlPositionEntreeSortie);
    popup->setContentsMargins(2, 2, 2, 2);
    pnlPlanEntreeSortie = new ui::FlatPanel(pnlPositionEntreeSortie);
    pnlPlanEntreeSortie->setObjectName(QStringLiteral("pnlPlanEntreeSortie"));
    pnlPlanEntreeSortie->setToolTip(
        QStringLiteral("Plan de cave|Cliquer sur un emplacement pour le choisir comme position."));
    btnAilleursEntreeSortie = bandeAilleurs(pnlPlanEntreeSortie, QStringLiteral("btnAilleursEntreeSortie"));
    popup->addWidget(pnlPlanEntreeSortie);

    const auto affichage = [this] {
        ui::AfficheNumerosPlan(grp_Position, btnNumPlan->isChecked());
        ui::CouleurBoutonBascule(btnNumPlan);
        ui::CouleurBoutonBascule(btnQuantitePlan);
    };
    connect(btnNumPlan, &QToolButton::clicked, this, affichage);
    connect(btnQuantitePlan, &QToolButton::clicked, this, affichage);
}

void PlanFiche::ConstruitPlans(data::Query& query) {
    ui::ConstruitPlan(query, grp_Position, false);
    ui::ConstruitPlan(query, pnlPlanEntreeSortie, false);
    ajustePlan();
    // The invitation to draw the plan shows only while the plan is empty.
    lblPersonnalisePlan->setVisible(grp_Position->findChildren<ui::FlatSpeedButton*>().size() <= 1);
    pnlPositionEntreeSortie->raise();
    ui::AfficheNumerosPlan(pnlPlanEntreeSortie, true);
    ui::AfficheNumerosPlan(grp_Position, btnNumPlan->isChecked());
}

void PlanFiche::ajustePlan() {
    const QSize plan = etendue(grp_Position);
    grp_Position->setMinimumSize(std::max(200, plan.width()), std::max(140, plan.height()));
    pnlPlanEntreeSortie->setMinimumSize(etendue(pnlPlanEntreeSortie));
    pnlPositionEntreeSortie->adjustSize();
}

void PlanFiche::PresseQuantites() {
    btnQuantitePlan->setChecked(true);
    btnNumPlan->setChecked(false);
    ui::CouleurBoutonBascule(btnNumPlan);
    ui::CouleurBoutonBascule(btnQuantitePlan);
}

void PlanFiche::EffacePositions() {
    const bool numeros = btnNumPlan->isChecked();
    for (QObject* child : grp_Position->children()) {
        if (auto* cell = qobject_cast<ui::FlatSpeedButton*>(child)) {
            cell->setChecked(false);
            cell->setFontColor(Qt::black);
            cell->setEnabled(true);
            if (!numeros) {
                cell->setText(QString());
            }
        }
    }
}

void PlanFiche::AffichePositions(const QList<QPair<QString, int>>& positions) {
    EffacePositions();
    const bool quantites = !btnNumPlan->isChecked();
    for (const auto& [position, quantite] : positions) {
        for (QObject* child : grp_Position->children()) {
            auto* cell = qobject_cast<ui::FlatSpeedButton*>(child);
            if (cell && QString::number(ui::Tag(cell)) == position) {
                cell->setChecked(true);
                cell->setFontColor(Qt::white);
                if (quantites) {
                    cell->setText(QString::number(quantite));
                }
            }
        }
    }
}

void PlanFiche::PeintCellules() {
    const ui::Palette& p = ui::palette();
    for (QWidget* panel : {static_cast<QWidget*>(grp_Position), static_cast<QWidget*>(pnlPlanEntreeSortie)}) {
        for (QObject* child : panel->children()) {
            auto* cell = qobject_cast<ui::FlatSpeedButton*>(child);
            if (!cell) {
                continue;
            }
            const bool ailleurs = cell->objectName().startsWith(QLatin1String("btnAilleurs"));
            cell->setColor(p.CouleurFond);
            cell->setColorFocused(p.CouleurMoyenne);
            cell->setColorDown(p.CouleurTexte);
            cell->setColorBorder(p.CouleurMoyenne);
            if (!ailleurs) {
                cell->setColorHighLight(ui::kCouleurSurbrillance);
            }
        }
    }
}

void PlanFiche::CachePopup() {
    pnlPositionEntreeSortie->hide();
}

}  // namespace vinorium::plan
