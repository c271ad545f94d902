// Keeps the wizard's tip panel at its place in the main window and wholly inside it.
//
// Usage (once, when the window's controls are made):
//   new TipPanelPlacer(ui->Rectangle_tipMsg, ui->centralwidget);
//
// The panel becomes a child of the client widget and sits at (380, 30) of it. When
// the client is too small for the panel there (a narrow window, a long tip), the
// panel moves left and up just as far as it must to stay inside; it goes back to
// its place when there is room again. The placer follows the client's and the
// panel's resizes and is owned by the panel.
#pragma once

#include <QObject>
#include <QPoint>
#include <QSize>

class QWidget;

// Where a panel of size `panel` goes in a client of size `client`: `preferred`,
// moved left and up as little as keeps it inside; never left of or above (0, 0).
QPoint TipPanelPosition(const QSize& client, const QSize& panel,
                        const QPoint& preferred = QPoint(380, 30));

class TipPanelPlacer : public QObject {
public:
    TipPanelPlacer(QWidget* panel, QWidget* client);

    // Puts the panel where TipPanelPosition says.
    void place();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* panel_;
    QWidget* client_;
};
