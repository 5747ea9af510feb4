// The language question of the first run: German or English.
#pragma once

#include <QDialog>

class PictureButton;
class TDlgResources;

class TTongueDlg : public QDialog
{
    Q_OBJECT
public:
    // Sets `language` to 1 (German) or 0 (English). Closed without a choice,
    // it leaves the language as it was.
    TTongueDlg(const TDlgResources &resources, int &language, QWidget *parent = nullptr);

    void GermanBtnClick();
    void EnglishBtnClick();

    PictureButton *GermanBtn;
    PictureButton *EnglishBtn;

protected:
    void showEvent(QShowEvent *event) override;

private:
    int &language_;
};
