#pragma once

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

namespace fenwold::test {

// Answers the modal windows the program opens, one step per window, in the order they appear.
// A modal window that appears when no step is left is rejected and recorded, so that a question
// nobody expected fails the test instead of waiting for ever.
class ModalAnswers {
public:
    using Step = std::function<void(QWidget& modal)>;

    ModalAnswers() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }

    void Then(Step step) { steps_.push_back(std::move(step)); }
    // A message box: its texts are recorded and the button pressed.
    void Press(QMessageBox::StandardButton button) {
        Then([this, button](QWidget& modal) {
            auto* box = qobject_cast<QMessageBox*>(&modal);
            if (box == nullptr || box->button(button) == nullptr) {
                return Refuse(modal);
            }
            messages.push_back(box->text());
            details.push_back(box->informativeText());
            box->button(button)->click();
        });
    }
    // A file dialog: the path is chosen.
    void Choose(const QString& path) {
        Then([this, path](QWidget& modal) {
            auto* dialog = qobject_cast<QFileDialog*>(&modal);
            if (dialog == nullptr) {
                return Refuse(modal);
            }
            // Typed: the name field has the focus, and selectFile leaves a focused field alone.
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
            static_cast<QDialog*>(dialog)->accept(); // the file dialog's own, which checks the name
        });
    }
    bool Done() const { return steps_.empty(); }

    std::vector<QString> messages;   // the texts of the message boxes answered
    std::vector<QString> details;    // and the informative texts under them
    std::vector<QString> unexpected; // windows nobody expected, by their text or title

private:
    // A window of another kind than the step expects: recorded and closed.
    void Refuse(QWidget& modal) {
        unexpected.push_back(modal.windowTitle());
        static_cast<QDialog&>(modal).reject();
    }

    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) {
            return;
        }
        for (const QPointer<QWidget>& seen : handled_) {
            if (seen == modal) {
                return;
            }
        }
        handled_.emplace_back(modal);
        if (steps_.empty()) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            unexpected.push_back(box != nullptr ? box->text() : modal->windowTitle());
            if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                dialog->reject();
            }
            return;
        }
        // Run from a timer of its own: an answer that opens the next modal window waits in that
        // window's event loop, where this poll must go on.
        QPointer<QWidget> target(modal);
        QTimer::singleShot(0, [step = std::move(steps_.front()), target] {
            if (target) {
                step(*target);
            }
        });
        steps_.pop_front();
    }

    QTimer timer_;
    std::deque<Step> steps_;
    std::vector<QPointer<QWidget>> handled_;
};

} // namespace fenwold::test
