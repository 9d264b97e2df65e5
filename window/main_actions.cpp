#include "main_actions.h"

#include "keys/key_actions.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QToolBar>
#include <QWidget>

namespace {

constexpr int kIconSize = 16;

// Small drawn images for the actions the style has no standard picture for.
QIcon drawnIcon(void (*draw)(QPainter&))
{
    QPixmap image(kIconSize, kIconSize);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return QIcon(image);
}

void page(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setPen(QPen(QColor(120, 120, 200), 1));
    for (qreal y = r.top() + 3; y < r.bottom() - 1; y += 2.5)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void drawCut(QPainter& p)
{
    p.setPen(QPen(QColor(40, 40, 40), 1.4));
    p.drawLine(QPointF(4, 1), QPointF(10.5, 10));
    p.drawLine(QPointF(12, 1), QPointF(5.5, 10));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(200, 30, 30), 1.6));
    p.drawEllipse(QPointF(4.5, 12.5), 2.5, 2.5);
    p.drawEllipse(QPointF(11.5, 12.5), 2.5, 2.5);
}

void drawCopy(QPainter& p)
{
    page(p, QRectF(1.5, 1.5, 8, 10));
    page(p, QRectF(6.5, 4.5, 8, 10));
}

void drawPaste(QPainter& p)
{
    p.setPen(QPen(QColor(90, 60, 20), 1));
    p.setBrush(QColor(200, 150, 70));
    p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1.5, 1.5);
    p.setBrush(QColor(150, 150, 150));
    p.drawRect(QRectF(4.5, 1.5, 4, 2.5));
    page(p, QRectF(7.5, 6.5, 7, 8));
}

void drawUndo(QPainter& p)
{
    p.setPen(QPen(QColor(30, 70, 160), 2));
    p.setBrush(Qt::NoBrush);
    QPainterPath arc;
    arc.moveTo(4, 7);
    arc.cubicTo(7, 2, 15, 4, 13, 12);
    p.drawPath(arc);
    p.setBrush(QColor(30, 70, 160));
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({QPointF(1, 4), QPointF(7, 4), QPointF(3, 10)}));
}

void drawGeneral(QPainter& p)
{
    p.setPen(QPen(QColor(50, 50, 50), 1));
    p.setBrush(QColor(230, 230, 230));
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.setBrush(QColor(40, 140, 40));
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(3.5, 4.5 + 3 * i, 2, 2));
    p.setPen(QPen(QColor(50, 50, 50), 1));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(7, 5.5 + 3 * i), QPointF(12.5, 5.5 + 3 * i));
}

void drawDisplay(QPainter& p)
{
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(Qt::black);
    p.drawRect(QRectF(0.5, 3.5, 15, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 170, 0));
    for (int x = 0; x < 6; ++x)
        for (int y = 0; y < 2; ++y)
            if ((x + y) % 2 == 0)
                p.drawEllipse(QPointF(2.8 + 2.1 * x, 6 + 2.6 * y), 0.9, 0.9);
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.drawLine(QPointF(8, 11.5), QPointF(8, 15));
}

void drawSerial(QPainter& p)
{
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(QColor(90, 110, 160));
    p.drawPolygon(QPolygonF({QPointF(1, 4), QPointF(15, 4), QPointF(13, 11), QPointF(3, 11)}));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (int i = 0; i < 5; ++i)
        p.drawEllipse(QPointF(3.8 + 2.1 * i, 6.5), 0.8, 0.8);
    for (int i = 0; i < 4; ++i)
        p.drawEllipse(QPointF(4.8 + 2.1 * i, 8.8), 0.8, 0.8);
}

void drawTransmit(QPainter& p)
{
    p.setPen(QPen(QColor(20, 100, 20), 1));
    p.setBrush(QColor(40, 190, 40));
    p.drawPolygon(QPolygonF({QPointF(2, 4), QPointF(9, 4), QPointF(9, 1), QPointF(15, 8),
                             QPointF(9, 15), QPointF(9, 12), QPointF(2, 12)}));
}

void drawStop(QPainter& p)
{
    p.setPen(QPen(QColor(120, 20, 20), 1));
    p.setBrush(QColor(210, 40, 40));
    p.drawRoundedRect(QRectF(2.5, 2.5, 11, 11), 1.5, 1.5);
}

QIcon standard(QStyle::StandardPixmap pixmap)
{
    return QApplication::style()->standardIcon(pixmap);
}

} // namespace

MainActions::MainActions(QWidget* owner) : QObject(owner), m_owner(owner)
{
    DoNewFile = make("DoNewFile", QStringLiteral("New"), QStringLiteral("New File"),
                     QKeySequence(Qt::CTRL | Qt::Key_N), standard(QStyle::SP_FileIcon));
    DoImportLmx = make("DoImportLmx", QStringLiteral("Load"), QStringLiteral("Open File"),
                       QKeySequence(Qt::CTRL | Qt::Key_O), standard(QStyle::SP_DialogOpenButton));
    DoExportLmx = make("DoExportLmx", QStringLiteral("Save"), QStringLiteral("Save File"),
                       QKeySequence(Qt::CTRL | Qt::Key_S), standard(QStyle::SP_DialogSaveButton));
    DoExportTxt = make("DoExportTxt", QStringLiteral("Export to txt file"), QString(),
                       QKeySequence(), QIcon());
    DoExportPackets = make("DoExportPackets", QStringLiteral("Export Packets\u2026"), QString(),
                           QKeySequence(), QIcon());
    DoSaveCapture = make("DoSaveCapture", QStringLiteral("Save Capture\u2026"),
                         QStringLiteral("Save the last transmission as a capture for Wireshark"),
                         QKeySequence(), QIcon());
    DoTransmit = make("DoTransmit", QStringLiteral("Transmit "), QStringLiteral("Transmit Texts"),
                      QKeySequence(Qt::Key_F6), drawnIcon(drawTransmit));
    DoTransmitToDisplays = make("DoTransmitToDisplays", QStringLiteral("Transmit to Displays\u2026"),
                                QStringLiteral("Transmit to several displays, one after the other"),
                                QKeySequence(Qt::SHIFT | Qt::Key_F6), QIcon());
    DoRepeatTransmission = make("DoRepeatTransmission", QStringLiteral("Repeat Transmission\u2026"),
                                QStringLiteral("Transmit again and again, counting the failures"),
                                QKeySequence(), QIcon());
    DoStopTransmission = make("DoStopTransmission", QStringLiteral("Stop Transmission"),
                              QStringLiteral("Stop Transmission"), QKeySequence(Qt::Key_Escape),
                              drawnIcon(drawStop));
    DoStopTransmission->setEnabled(false); // until a transmission runs
    DoExitProgram = make("DoExitProgram", QStringLiteral("Exit"), QStringLiteral("Exit Program"),
                         QKeySequence(Qt::CTRL | Qt::Key_Q),
                         standard(QStyle::SP_DialogCloseButton));
    DoCutText = make("DoCutText", QStringLiteral("Cut"), QStringLiteral("Cut"),
                     QKeySequence(Qt::CTRL | Qt::Key_X), drawnIcon(drawCut));
    DoCopyText = make("DoCopyText", QStringLiteral("Copy"), QStringLiteral("Copy"),
                      QKeySequence(Qt::CTRL | Qt::Key_C), drawnIcon(drawCopy));
    DoPasteText = make("DoPasteText", QStringLiteral("Paste"), QStringLiteral("Paste"),
                       QKeySequence(Qt::CTRL | Qt::Key_V), drawnIcon(drawPaste));
    DoUndoText = make("DoUndoText", QStringLiteral("Undo"), QStringLiteral("Undo"),
                      QKeySequence(Qt::CTRL | Qt::Key_Z), drawnIcon(drawUndo));
    DoRedoText = make("DoRedoText", QStringLiteral("Redo"), QStringLiteral("Redo"),
                      QKeySequence(Qt::CTRL | Qt::Key_Y), QIcon());
    DoGeneralSettings = make("DoGeneralSettings", QStringLiteral("General"),
                             QStringLiteral("General Settings"), QKeySequence(Qt::Key_F3),
                             drawnIcon(drawGeneral));
    DoDisplaySettings = make("DoDisplaySettings", QStringLiteral("Display"),
                             QStringLiteral("Display Settings"), QKeySequence(Qt::Key_F4),
                             drawnIcon(drawDisplay));
    DoSerialSettings = make("DoSerialSettings", QStringLiteral("Serial"),
                            QStringLiteral("Serial Settings"), QKeySequence(Qt::Key_F5),
                            drawnIcon(drawSerial));
    DoScanBus = make("DoScanBus", QStringLiteral("Scan Bus\u2026"),
                     QStringLiteral("Find the displays that answer"), QKeySequence(), QIcon());
    DoPacketSize = make("DoPacketSize", QStringLiteral("Change Packet Size"), QString(),
                        QKeySequence(), QIcon());
    DoHelp = make("DoHelp", QStringLiteral("Help"), QStringLiteral("Help"),
                  QKeySequence(Qt::Key_F1), standard(QStyle::SP_DialogHelpButton));
    DoAbout = make("DoAbout", QStringLiteral("About"), QStringLiteral("About"),
                   QKeySequence(Qt::Key_F2), standard(QStyle::SP_MessageBoxInformation));
}

QAction* MainActions::make(const char* name, const QString& caption, const QString& hint,
                           const QKeySequence& shortcut, const QIcon& icon)
{
    auto* action = new QAction(icon, caption, m_owner);
    action->setObjectName(QString::fromLatin1(name));
    // The hint is a tool tip only: the status bar's text panel keeps the program's own texts.
    action->setToolTip(hint.isEmpty() ? caption : hint);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    // The tool bar shows hints; the menus show captions only.
    action->setIconVisibleInMenu(false);
    m_owner->addAction(action);
    return action;
}

void MainActions::buildMenus(QMenuBar* bar, KeyActions& keys)
{
    m_file = bar->addMenu(QStringLiteral("File"));
    m_file->addActions({DoNewFile, DoImportLmx, DoExportLmx});
    m_file->addSeparator();
    m_file->addAction(DoExportTxt);
    m_file->addAction(DoExportPackets);
    m_file->addAction(DoSaveCapture);
    m_file->addSeparator();
    m_file->addActions({keys.DoLoadKeys, keys.DoSaveKeys});
    m_file->addSeparator();
    m_file->addActions({DoTransmit, DoTransmitToDisplays});
    m_file->addSeparator();
    m_file->addAction(DoExitProgram);

    // Copy stands above Cut.
    m_edit = bar->addMenu(QStringLiteral("Edit"));
    m_edit->addActions({DoCopyText, DoCutText, DoPasteText});
    m_edit->addSeparator();
    m_edit->addAction(DoUndoText);
    m_edit->addAction(DoRedoText);

    m_transmit = bar->addMenu(QStringLiteral("Transmit"));
    m_transmit->addActions({DoTransmit, DoTransmitToDisplays, DoRepeatTransmission});
    m_transmit->addSeparator();
    m_transmit->addAction(DoStopTransmission);

    m_settings = bar->addMenu(QStringLiteral("Settings"));
    m_settings->addActions({DoGeneralSettings, DoDisplaySettings, DoSerialSettings, DoScanBus});
    m_settings->addSeparator();
    m_settings->addMenu(keys.keyDefinitionsMenu());
    m_settings->addMenu(keys.clearKeysMenu());
    m_settings->addSeparator();
    m_settings->addAction(DoPacketSize);

    m_help = bar->addMenu(QStringLiteral("Help"));
    m_help->addActions({DoHelp, DoAbout});
}

void MainActions::buildToolBar(QToolBar* bar)
{
    bar->addActions({DoNewFile, DoImportLmx, DoExportLmx});
    bar->addSeparator();
    bar->addActions({DoCutText, DoCopyText, DoPasteText, DoUndoText});
    bar->addSeparator();
    bar->addActions({DoGeneralSettings, DoDisplaySettings, DoSerialSettings});
    bar->addSeparator();
    bar->addActions({DoTransmit, DoStopTransmission});
    bar->addSeparator();
    bar->addActions({DoHelp, DoAbout});
    bar->addSeparator();
    bar->addAction(DoExitProgram);
}
