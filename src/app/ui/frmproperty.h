#pragma once
// The settings dialog: the four start-up settings of the settings row (the
// venue opened at start, the database-size check, the registration offer at
// start and what follows a download). OK writes them to the shared settings
// and the row; Cancel and the close box leave both as they were.

#include <QDialog>
#include <array>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QPushButton;
class QRadioButton;

class frmproperty : public QDialog {
    Q_OBJECT
public:
    explicit frmproperty(QWidget *parent = nullptr);

    std::array<QRadioButton *, 2> optkyosocode{};
    std::array<QRadioButton *, 24> opts{};
    QCheckBox *chkcheckflag;
    QCheckBox *chkregstflag;
    std::array<QRadioButton *, 2> optdownlflag{};
    QPushButton *cmdexec;
    QPushButton *cmdcancel;

    // The caption of a venue button: the venue name, a one-character name led
    // by an ideographic blank ("　津") so that it lines up with the others.
    static QString venueCaption(int kyosocode);

public slots:
    void optkyosocode_Click(int index);
    void cmdexec_Click();
    void cmdcancel_Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void disp_m_kanri();
    void clearVenues();

    QButtonGroup *venues_;
};
