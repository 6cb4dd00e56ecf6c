#pragma once

#include <QDialog>

class Ui_Examples;

// The small modeless window of a running tutorial: it shows the description of the current
// example and asks the main window, through exampleNum, to set up the next or previous one.
// Stepping onto a tutorial's boundary (the next tutorial's overview, or 96) ends the
// tutorial: the main window goes back to the tutorial page and the dialog hides.
class Examples : public QDialog
{
    Q_OBJECT

public:
    explicit Examples(QWidget *parent = nullptr);
    ~Examples() override;

    Ui_Examples *ui = nullptr;
    int currentExample = 0; // written only by showDescription

    void showDescription(int n);

signals:
    void exampleNum(int exNumber);

private slots:
    void on_closeButton_clicked();
    void on_nextButton_clicked();
    void on_prevButton_clicked();
    void on_examplesButton_clicked();
};
