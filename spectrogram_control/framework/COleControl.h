#pragma once

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QUuid>
#include <QWidget>
#include <cstdint>

#include "framework/CPropExchange.h"
#include "framework/DispatchTable.h"

class COleDropTarget;
class QMenu;
class QPainter;

// Control flags of GetControlFlags.
enum ControlFlags : std::uint32_t {
    ControlFlagPointerInactive = 0x04,
    ControlFlagWindowlessActivate = 0x10,
};

// Numbers of the errors a control raises from a property write (see ReportPropertyError),
// as the host's runtime reports them.
namespace ControlError {
constexpr int InvalidPropertyValue = 380;  // "Invalid property value"
}  // namespace ControlError

// Base of every control of the module: a widget that paints through OnDraw,
// renders to non-screen devices through OnDrawMetafile, persists through
// DoPropExchange, is reached by dispatch identifier through its dispatch
// table, and hands drag and drop to its drop target. GUI thread only.
class COleControl : public QWidget {
    Q_OBJECT
public:
    explicit COleControl(QWidget* parent = nullptr);
    ~COleControl() override;

    // The control's size in device pixels: on a screen with a device pixel
    // ratio above 1 the picture is computed for every pixel it will cover.
    QSize GetControlSize() const { return size() * devicePixelRatioF(); }
    // Schedules a repaint of the whole control with the background erased.
    void InvalidateControl();
    void SetModifiedFlag(bool modified = true) { m_modified = modified; }
    bool IsModified() const { return m_modified; }

    // Persistence: the control's state as a versioned stream of exactly the
    // persisted values. LoadState returns false (and resets the control) when
    // the stream cannot be read.
    QByteArray SaveState();
    bool LoadState(const QByteArray& state);
    // Resets the persisted properties to their defaults.
    void ResetState() { OnResetState(); }

    // Renders the control on a device that is not the screen (an image, a
    // picture, a printer), as a metafile rendering does.
    void DrawMetafile(QPainter& painter, const QRect& bounds) { OnDrawMetafile(painter, bounds); }

    // Dispatch by identifier, also for hosts that reach the control only
    // through its meta-object; each returns false when the identifier is
    // unknown, the value does not fit the property's type, or the write or
    // call raised an error (see GetErrorNumber).
    Q_INVOKABLE bool GetDispatchProperty(int dispid, QVariant& value);
    Q_INVOKABLE bool SetDispatchProperty(int dispid, const QVariant& value);
    Q_INVOKABLE bool InvokeDispatchMethod(int dispid);

    // The error the last failing property write or method call raised: its
    // number (ControlError) and description, or 0 and an empty text when none
    // was raised since the last ClearError. SetDispatchProperty and
    // InvokeDispatchMethod clear it before they start; a host that writes by
    // name calls ClearError first. A write that raised an error changed nothing.
    Q_INVOKABLE int GetErrorNumber() const { return m_errorNumber; }
    Q_INVOKABLE QString GetErrorDescription() const { return m_errorDescription; }
    Q_INVOKABLE void ClearError();

    // The two standard verbs. Edit takes the focus; Properties opens the
    // property frame with the control's pages (owned by the control, closed
    // with it) without waiting for it, and is false when there are no pages.
    enum class Verb { Edit = -4, Properties = -7 };
    virtual bool DoVerb(Verb verb);
    // DoVerb for hosts that reach the control only through its meta-object.
    Q_INVOKABLE bool InvokeVerb(int verb);

    // The class identifiers of the control's property pages, in page order.
    virtual QList<QUuid> GetPropertyPageIds() const { return {}; }
    // The name the user knows the control by, e.g. for the frame's caption.
    virtual QString GetUserTypeName() const { return {}; }
    virtual std::uint32_t GetMiscStatus() const { return 0; }

    virtual std::uint32_t GetControlFlags() const { return 0; }
    virtual int GetActivationPolicy() const { return 0; }
    virtual COleDropTarget* GetWindowlessDropTarget() { return nullptr; }
    virtual const DispatchTable& GetDispatchTable() const = 0;

protected:
    // Records the error of a refused property write or method call for the
    // host (see GetErrorNumber). It does not leave the caller, which returns
    // on its own without changing anything.
    void ReportPropertyError(int number, const QString& description);

    // Writes the control's extent; subclasses add their own values after it.
    virtual void DoPropExchange(CPropExchange& exchange);
    virtual void OnResetState() {}
    virtual void OnDraw(QPainter& painter, const QRect& bounds, const QRect& invalid) = 0;
    // Within OnDraw: whether this paint reaches every pixel of the control.
    // `invalid` only bounds what is painted, which may be two corners of it.
    bool IsDrawingWhole() const { return m_drawingWhole; }
    virtual void OnDrawMetafile(QPainter& painter, const QRect& bounds);
    virtual void OnLButtonDown(const QPoint& point);
    virtual bool OnProperties();
    // The context menu offered on a right click: the Properties verb. A host
    // that wants none sets the control's context menu policy to NoContextMenu.
    virtual QMenu* CreateContextMenu();

    void contextMenuEvent(QContextMenuEvent* event) override;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool m_modified = false;
    bool m_drawingWhole = false;
    int m_errorNumber = 0;
    QString m_errorDescription;
};
