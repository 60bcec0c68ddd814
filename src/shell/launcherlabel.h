#pragma once
// A label of the start-up window that the user clicks: a launcher label, a link label or a
// picture. It keeps its text colour as a colour value (&HBBGGRR), so the pointing rules set
// and compare the same numbers the window's design uses, and it reports a click (a left
// press and release on it) and every pointer move over it.

#include <QLabel>
#include <cstdint>

namespace shell {

class LauncherLabel : public QLabel {
    Q_OBJECT
public:
    explicit LauncherLabel(const QString& objectName, QWidget* parent);

    uint32_t ForeColor() const { return m_foreColor; }
    void setForeColor(uint32_t color);

signals:
    void clicked();
    void pointed();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    uint32_t m_foreColor = 0;
    bool m_pressed = false;
};

} // namespace shell
