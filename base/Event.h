#pragma once
// An event a control raises to whoever subscribed, in the order they subscribed.
#include <cstddef>
#include <deque>
#include <functional>

namespace base {

template <typename... Args>
class Event {
public:
    using Handler = std::function<void(Args...)>;

    void Subscribe(Handler handler) { handlers_.push_back(std::move(handler)); }
    void Clear() { handlers_.clear(); }
    bool HasHandlers() const noexcept { return !handlers_.empty(); }

    // Handlers may subscribe more while the event is being raised; those run next time.
    // A deque keeps every handler where it is as others are added, so the one running is never moved.
    void Raise(Args... args) const {
        const std::size_t count = handlers_.size();
        for (std::size_t i = 0; i < count && i < handlers_.size(); ++i) handlers_[i](args...);
    }

private:
    std::deque<Handler> handlers_;
};

}  // namespace base
