#pragma once

#include <QImage>
#include <QWidget>

// The solved-levels gauge: a red bar on black rising in whole-percent steps.
class TGauge : public QWidget {
    Q_OBJECT
public:
    explicit TGauge(QWidget* parent);

    int Maximum() const { return m_maximum; }
    int Progress() const { return m_progress; }
    int Percent() const;

    // Both repaint only when what is shown changes.
    void SetMaximum(int maximum);
    void SetProgress(int progress);

    // The whole gauge as drawn, for a given size and percentage.
    static QImage Render(QSize size, int percent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_maximum = 100;
    int m_progress = 0;
};
