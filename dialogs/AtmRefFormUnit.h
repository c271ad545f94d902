// The Astronomical\ Refraction window: created at start-up, shown and hidden, alive until the end.
#pragma once

#include <QWidget>

namespace Ui {
class TFormAtmRef;
}

class TFormAtmRef : public QWidget {
    Q_OBJECT
public:
    explicit TFormAtmRef(QWidget* parent = nullptr);
    ~TFormAtmRef() override;

    Ui::TFormAtmRef* ui;

    void ChangeUIStyle(const QString& style);
};

extern TFormAtmRef* FormAtmRef;
