#pragma once
#include "base/Form.h"

#include <QLabel>
#include <array>

class QLineEdit;
class QKeyEvent;
class QMouseEvent;
class QPaintEvent;
class QPushButton;

// One sample place of the background window: a picture stretched to the place,
// the file name of its picture, and a click.
class ImageSample : public QLabel {
    Q_OBJECT
public:
    explicit ImageSample(QWidget *parent = nullptr);
    QString Tag;

signals:
    void clicked();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

// The background image window (modal): applies a sample or a chosen image file as
// the background of the page on display.
class Form1 : public Form {
    Q_OBJECT
public:
    static constexpr int kSamples = 13;
    static constexpr int kBuiltIn = 5;
    static constexpr const char *kImagePatterns = "*.JPG;*.BMP;*.TIF;*.GIF;*.PCX";

    Form1();
    void Form_Load() override;

    std::array<ImageSample *, kSamples> Image1{};
    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QPushButton *cmdSFOGLIA = nullptr;
    QPushButton *cmdCONFERMA = nullptr;
    QPushButton *cmdUSCITA = nullptr;

    // Applies the picture of sample Index, or with -1 the name in Text1.
    void Image1_Click(int Index);
    void cmdCONFERMA_Click();
    void cmdSFOGLIA_Click();
    void cmdUSCITA_Click();

private:
    void loadSamples();
    // CommonDialog1: the start folder set at load, and its file name, which is the
    // design's patterns until a file is chosen and that file afterwards.
    QString dialogFolder_;
    QString dialogFileName_ = QLatin1String(kImagePatterns);
};
