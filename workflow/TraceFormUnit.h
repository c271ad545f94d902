// The Manual\ Trace window: created at start-up, shown and hidden, alive until the end.
#pragma once

#include <QWidget>

namespace Ui {
class TFormTrace;
}

class TFormTrace : public QWidget {
    Q_OBJECT
public:
    explicit TFormTrace(QWidget* parent = nullptr);
    ~TFormTrace() override;

    Ui::TFormTrace* ui;

    void ChangeUIStyle(const QString& style);
};

extern TFormTrace* FormTrace;
