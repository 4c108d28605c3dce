#pragma once

#include <optional>

#include <QHostAddress>
#include <QString>

// Turns the host the user typed into an address to connect to. The program
// asks the system's resolver; tests put one of their own in its place, so
// that no name server is ever asked.
class HostResolver {
public:
    virtual ~HostResolver() = default;
    // The first address of the name, or nothing when it has none.
    virtual std::optional<QHostAddress> Resolve(const QString& host) = 0;
};

// A numeric address as it is; a name through the system's resolver,
// waiting for its answer.
class SystemHostResolver final : public HostResolver {
public:
    std::optional<QHostAddress> Resolve(const QString& host) override;
};
