// Timer: raises its tick event every interval milliseconds; 0 stops it.
#include <gtk/gtk.h>

#include <algorithm>

#include "builtin_kinds.h"

namespace runtime {
namespace {

class Timer final : public Component {
public:
    Timer(const CreateInfo& info, TimerBlock block) : Component(info), interval_(block.interval) {
        area_ = gtk_drawing_area_new();
        restart();
    }
    ~Timer() override { stop(); }

    GtkWidget* widget() override { return area_; }
    bool shown() const override { return false; }
    bool hostMouseEvents() const override { return false; }

    std::optional<Value> getOwn(int k) override {
        if (k == timer::kInterval) return interval_;
        return std::nullopt;
    }

    bool setOwn(int k, const Value& v) override {
        if (k != timer::kInterval) return false;
        interval_ = std::max(asInt(v), 0);
        restart();
        return true;
    }

    Bytes propertyBlock() const override { return TimerBlock{interval_}.serialize(); }

    // Asleep, the timer keeps its interval but no source: the process is not
    // woken for ticks that could change nothing.
    void setAsleep(bool asleep) {
        if (asleep == asleep_) return;
        asleep_ = asleep;
        restart();
    }
    bool armed() const { return source_ != 0; }

private:
    void stop() {
        if (source_) g_source_remove(source_);
        source_ = 0;
    }

    void restart() {
        stop();
        if (interval_ <= 0 || asleep_) return;
        guint ms = static_cast<guint>(std::max(interval_, timer::kMinimumInterval));
        source_ = g_timeout_add(
            ms,
            +[](gpointer self) {
                auto* t = static_cast<Timer*>(self);
                // The handler may stop the timer or destroy it; the source stays
                // valid until this callback returns, so keep it unless stopped.
                guint before = t->source_;
                t->raise(timer::kTick);
                return before == t->source_ && t->source_ != 0 ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
            },
            this);
    }

    int32_t interval_;
    bool asleep_ = false;
    guint source_ = 0;
    GtkWidget* area_;
};

}  // namespace

bool setTimerAsleep(Component* component, bool asleep) {
    auto* t = dynamic_cast<Timer*>(component);
    if (!t) return false;
    t->setAsleep(asleep);
    return true;
}

bool timerArmed(const Component* component) {
    auto* t = dynamic_cast<const Timer*>(component);
    return t && t->armed();
}

std::unique_ptr<Component> makeTimer(const CreateInfo& info) { return makeFromBlock<Timer, TimerBlock>(info); }

}  // namespace runtime
