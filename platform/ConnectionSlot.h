#pragma once

#include "platform/Connection.h"

#include <functional>
#include <memory>

namespace flagwright {

using ConnectionFactory = std::function<std::unique_ptr<Connection>()>;

// A window-level connection reference that creates a fresh, closed connection whenever it is
// used while empty, so asking an empty slot for its state yields closed instead of failing.
class ConnectionSlot {
public:
    explicit ConnectionSlot(ConnectionFactory factory) : factory_(std::move(factory)) {}

    Connection& operator*() { return Use(); }
    Connection* operator->() { return &Use(); }

    // Puts a new connection in the slot; the one held before is released (and so closed).
    Connection& Renew()
    {
        connection_.reset();
        connection_ = factory_();
        return *connection_;
    }
    void Release() { connection_.reset(); }
    bool IsEmpty() const { return connection_ == nullptr; }

private:
    Connection& Use()
    {
        if (!connection_)
            connection_ = factory_();
        return *connection_;
    }

    ConnectionFactory factory_;
    std::unique_ptr<Connection> connection_;
};

} // namespace flagwright
