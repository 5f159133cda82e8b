#pragma once

#include <QWidget>
#include <functional>

namespace fenwold {

class PreviewCanvas;

// Shows a tool window's 400 x 300 canvas enlarged by its zoom and centred; the rest is black. It
// takes the keyboard focus of its window, so that the window's keys reach the key routing.
class PreviewCanvasWidget final : public QWidget {
public:
    // `canvas` gives the canvas to show (none while there is nothing), `zoom` its enlargement.
    PreviewCanvasWidget(QWidget* parent, std::function<const PreviewCanvas*()> canvas,
                        std::function<int()> zoom);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<const PreviewCanvas*()> canvas_;
    std::function<int()> zoom_;
};

} // namespace fenwold
