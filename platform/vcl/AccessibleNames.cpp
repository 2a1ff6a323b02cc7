#include "platform/vcl/AccessibleNames.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace {

class TAccessibleDescriptions : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Polish && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            if (!w->objectName().isEmpty() && w->accessibleDescription().isEmpty())
                w->setAccessibleDescription(w->objectName());
        }
        return false;
    }
};

} // namespace

void InstallAccessibleDescriptions(QApplication* app)
{
    static QPointer<TAccessibleDescriptions> installed;
    if (!app || installed)
        return;
    installed = new TAccessibleDescriptions(app);
    app->installEventFilter(installed);
}
