// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A top-level form whose look and behaviour come from its stored layout: the
// border, stacking, placement, colours and font are properties that the .ui
// file sets, and the form's life-cycle events are signals that the layout's
// connections bind to the handlers of a derived form by name.

#include <QColor>
#include <QString>
#include <QWidget>

#include <functional>

class TForm : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(TBorderStyle borderStyle READ borderStyle WRITE setBorderStyle)
    Q_PROPERTY(TFormStyle formStyle READ formStyle WRITE setFormStyle)
    Q_PROPERTY(TPosition position READ position WRITE setPosition)
    Q_PROPERTY(QColor color READ color WRITE setColor)
    Q_PROPERTY(QColor fontColor READ fontColor WRITE setFontColor)
    Q_PROPERTY(int fontPixelSize READ fontPixelSize WRITE setFontPixelSize)
    Q_PROPERTY(QString activeControl READ activeControl WRITE setActiveControl)

public:
    enum TBorderStyle
    {
        bsNone,
        bsSizeable
    };
    Q_ENUM(TBorderStyle)
    enum TFormStyle
    {
        fsNormal,
        fsStayOnTop
    };
    Q_ENUM(TFormStyle)
    // poDesigned keeps the stored position; poScreenCenter centres the form
    // on its screen every time it is shown.
    enum TPosition
    {
        poDesigned,
        poScreenCenter
    };
    Q_ENUM(TPosition)

    explicit TForm(QWidget* parent = nullptr);

    TBorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(TBorderStyle style);
    TFormStyle formStyle() const { return m_formStyle; }
    void setFormStyle(TFormStyle style);
    TPosition position() const { return m_position; }
    void setPosition(TPosition position) { m_position = position; }

    // Background of the form and of the controls that take their colours
    // from it; fontColor is the text colour they inherit.
    QColor color() const { return m_color; }
    void setColor(const QColor& color);
    QColor fontColor() const { return m_fontColor; }
    void setFontColor(const QColor& color);
    int fontPixelSize() const { return font().pixelSize(); }
    void setFontPixelSize(int pixels);

    // Name of the control that has the keyboard focus when the form opens.
    QString activeControl() const { return m_activeControl; }
    void setActiveControl(const QString& name) { m_activeControl = name; }

    void setVisible(bool visible) override;

signals:
    void OnCreate();
    void OnShow();
    void OnActivate();
    void OnDeactivate();

protected:
    // Derived forms call this at the end of their constructor, once the
    // stored layout (and with it the connections) has been set up.
    void created() { emit OnCreate(); }

    // Runs one event handler's work. An error it raises stops the handler
    // there and is shown in a critical message box; the form stays open in
    // whatever state the handler reached.
    void runHandler(const std::function<void()>& work);

    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyWindowFlags();
    void centreOnScreen();

    TBorderStyle m_borderStyle = bsSizeable;
    TFormStyle m_formStyle = fsNormal;
    TPosition m_position = poDesigned;
    QColor m_color;
    QColor m_fontColor;
    QString m_activeControl;
    bool m_shown = false;
    bool m_active = false;
};
