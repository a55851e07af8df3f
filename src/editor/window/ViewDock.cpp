#include "editor/window/ViewDock.h"

#include "scene/LiveScene.h"
#include "scene/WorldView.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include <Inventor/nodes/SoSeparator.h>

ViewDock::ViewDock(ContextCheck contextCheck, QWidget *parent)
    : QDockWidget(tr("3-D View"), parent), m_contextCheck(std::move(contextCheck))
{
    setObjectName(QStringLiteral("viewDock"));
    setAccessibleName(tr("3-D View"));
    setAllowedAreas(Qt::AllDockWidgetAreas);

    auto *body = new QWidget(this);
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);

    auto *modes = new QHBoxLayout;
    m_aerial = new QToolButton(body);
    m_aerial->setText(tr("&Aerial"));
    m_aerial->setToolTip(tr("Look down on the world: drag to turn it, wheel to zoom, right "
                            "drag to move, Home to see it all"));
    m_visitor = new QToolButton(body);
    m_visitor->setText(tr("&Visitor"));
    m_visitor->setToolTip(tr("Walk through the world from the start position: arrow keys to "
                             "walk and turn, drag to look around, Home to go back"));
    auto *group = new QButtonGroup(this);
    for (QToolButton *button : {m_aerial, m_visitor}) {
        button->setCheckable(true);
        button->setAutoRaise(true);
        group->addButton(button);
        modes->addWidget(button);
    }
    m_aerial->setObjectName(QStringLiteral("cmdAerial"));
    m_visitor->setObjectName(QStringLiteral("cmdVisitor"));
    m_aerial->setChecked(true);
    modes->addStretch(1);
    layout->addLayout(modes);

    m_message = new QLabel(body);
    m_message->setObjectName(QStringLiteral("lblViewMessage"));
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_message->hide();
    layout->addWidget(m_message, 1);
    setWidget(body);

    connect(m_aerial, &QToolButton::toggled, this, [this](bool on) {
        if (m_view)
            m_view->setMode(on ? WorldView::Mode::Aerial : WorldView::Mode::Visitor);
    });
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible)
            start();
    });
}

ViewDock::~ViewDock()
{
    delete m_container; // the view draws the scene's nodes: it goes first
}

void ViewDock::follow(const WorldDocument &document, const std::vector<ShapeInfo> &shapes,
                      const QString &programFolder)
{
    m_document = &document;
    m_shapes = &shapes;
    m_programFolder = programFolder;
    if (isVisible())
        start();
}

void ViewDock::start()
{
    if (!m_document || m_scene || !m_message->isHidden())
        return;
    if (const QString unavailable = m_contextCheck ? m_contextCheck() : QString();
        !unavailable.isEmpty()) {
        m_message->setText(tr("The 3-D view cannot be shown: %1.\n\nEverything else works as "
                              "before; File > Export to VRML shows the world in the preview "
                              "or another VRML viewer.")
                               .arg(unavailable));
        m_message->show();
        for (QToolButton *button : {m_aerial, m_visitor})
            button->setEnabled(false);
        return;
    }
    m_scene = std::make_unique<LiveScene>(*m_document, *m_shapes, m_programFolder);
    m_view = new WorldView;
    m_view->setObjectName(QStringLiteral("liveView"));
    m_view->setKeyTarget(window());
    m_view->setMode(m_aerial->isChecked() ? WorldView::Mode::Aerial : WorldView::Mode::Visitor);
    m_view->setHomeBox([scene = m_scene.get()] { return scene->itemsBox(); });
    m_view->setWorld(m_scene->root());
    m_scene->setMarked(m_marked);
    connect(m_scene.get(), &LiveScene::changed, m_view, &WorldView::worldChanged);
    connect(m_view, &WorldView::clicked, this,
            [this](const QPoint &pixel) { emit itemClicked(itemAt(pixel)); });
    connect(m_view, &WorldView::doubleClicked, this, [this](const QPoint &pixel) {
        if (const ItemRef item = itemAt(pixel); item.kind != KindNone)
            emit itemDoubleClicked(item);
    });

    m_container = QWidget::createWindowContainer(m_view, widget()); // owns the view
    m_container->setObjectName(QStringLiteral("picLiveView"));
    m_container->setAccessibleName(tr("3-D picture of the world"));
    m_container->setFocusPolicy(Qt::StrongFocus);
    m_container->setMinimumSize(120, 90);
    static_cast<QVBoxLayout *>(widget()->layout())->addWidget(m_container, 1);
}

ItemRef ViewDock::itemAt(const QPoint &pixel) const
{
    const WorldView::PickedPath path = m_view->pathAt(pixel);
    return m_scene->itemOn(path.get()).value_or(ItemRef{});
}

void ViewDock::setMarked(const ItemRefs &items)
{
    m_marked = items;
    if (m_scene)
        m_scene->setMarked(items);
}
