#pragma once

#include "soa/soasignal.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;

// "Change Output Signal Waveform": the kind of signal and its values, one page per kind.
// Texts are handed back as typed; the caller stores them and recomputes.
class SignalDialog : public QDialog
{
    Q_OBJECT

public:
    SignalDialog(const soa::SignalTexts &texts, QWidget *parent);

    // The kind whose page is shown, and that page's values; the other pages' are dropped.
    int kind() const;
    soa::SignalTexts texts() const;

    QPushButton *uploadButton() const { return upload_; }

private:
    struct LevelRows
    {
        QComboBox *output = nullptr;
        QLineEdit *maxOut = nullptr;
        QLineEdit *minOut = nullptr;
    };
    QWidget *levelPage(const soa::SignalTexts &texts, LevelRows &rows, const QString &name);

    soa::SignalTexts initial_;
    QComboBox *kind_ = nullptr;
    QStackedWidget *pages_ = nullptr;
    LevelRows sine_, trap_;
    QLineEdit *freq_ = nullptr;
    QLineEdit *rise_ = nullptr, *high_ = nullptr, *fall_ = nullptr, *low_ = nullptr;
    QComboBox *uploadOutput_ = nullptr;
    QPushButton *upload_ = nullptr;
    QLineEdit *gain_ = nullptr;
};
