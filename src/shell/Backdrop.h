#pragma once

#include <QWidget>

namespace granwise {

// The background picture of the main window and the login window: painted, so it scales to
// any size without a bitmap resource.
class Backdrop : public QWidget {
public:
    explicit Backdrop(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace granwise
