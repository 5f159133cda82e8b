#pragma once

#include <QSplashScreen>

namespace fenwold {

// The start-up picture: closes itself after 1500 ms, or at once on the first key or mouse button
// pressed anywhere in the program.
class SplashWindow final : public QSplashScreen {
public:
    SplashWindow();
    ~SplashWindow() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace fenwold
