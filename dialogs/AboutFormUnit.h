// The About window: the program's name and version, the maker's notice, logo and web
// address, and the translator's credit line. Created at start-up, shown and hidden,
// alive until the end.
//
//   FormAbout->SetAppVersion(g_appVersion, g_appDate);   // "ZenithWand Version 1.3.2.8"
//   FormAbout->show();
//
// The logo and the web address open the web site (dialogs/WebLinks.h); "OK" closes.
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

    // Shows "ZenithWand " + version; the release date is not shown.
    void SetAppVersion(const QString& version, const QString& date);

    void Button_okClick();
    void Image_logoClick();
    void Label_websiteClick();
};

extern TFormAbout* FormAbout;
