// The plot below the read-out: altitude, azimuth and total error of the last minutes,
// so that each turn of a screw shows as a step.
//
// Usage:
//   auto* plot = new ErrorPlot(panel);
//   plot->SetHistory(&history);        // an ErrorHistory that outlives the plot's use
//   plot->SetNight(true);              // dim reds on black
//   plot->update();                    // after each ErrorHistory::Add
#pragma once

#include "guidance/NightRecord.h"

#include <QWidget>

class ErrorPlot : public QWidget {
public:
    explicit ErrorPlot(QWidget* parent = nullptr);
    void SetHistory(const ErrorHistory* history) { history_ = history; }
    void SetNight(bool night);
    void SetTitle(const QString& title);
    QSize sizeHint() const override { return {220, 90}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ErrorHistory* history_ = nullptr;
    bool night_ = false;
    QString title_;
};
