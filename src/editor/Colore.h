#pragma once
#include "base/Form.h"

#include <QColor>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QFrame;

// The colour picker: red, green and blue sliders plus a brightness slider. Every
// change is written at once into the colour box named by Module1::PickerCaller
// and Module1::PickerField.
class Colore : public Form {
    Q_OBJECT
public:
    Colore();
    void Form_Load() override;

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label7 = nullptr;
    QScrollBar *VScroll1 = nullptr;
    QScrollBar *VScroll2 = nullptr;
    QScrollBar *VScroll3 = nullptr;
    QLineEdit *txtROSSO = nullptr;
    QLineEdit *txtVERDE = nullptr;
    QLineEdit *txtBLU = nullptr;
    QScrollBar *HScroll1 = nullptr;
    QLineEdit *txtLUCE = nullptr;
    QFrame *Picture1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;

    void VScroll1_Change();
    void VScroll2_Change();
    void VScroll3_Change();
    void HScroll1_Change();
    void Command1_Click();
    void Command2_Click();

    // Recomputes the colour, paints the preview and writes the colour text.
    void SETTA_COLORI();

    // The colour painted in the preview.
    QColor previewColour() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int red = 0;
    int green = 0;
    int blue = 0;
    int brightness = 0;
};
