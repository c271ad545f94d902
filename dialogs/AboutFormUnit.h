// The About window: created at start-up, shown and hidden, alive until the end.
#pragma once

#include <QWidget>

namespace Ui {
class TFormAbout;
}

class TFormAbout : public QWidget {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget* parent = nullptr);
    ~TFormAbout() override;

    Ui::TFormAbout* ui;

    void ChangeUIStyle(const QString& style);
};

extern TFormAbout* FormAbout;
