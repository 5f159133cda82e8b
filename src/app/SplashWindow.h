#pragma once

#include <QSplashScreen>

namespace fenwold {

// The start-up picture: closes itself after 1500 ms, or at once on the first key or mouse button.
class SplashWindow final : public QSplashScreen {
public:
    SplashWindow();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace fenwold
