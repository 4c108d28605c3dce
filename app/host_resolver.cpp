#include "host_resolver.h"

#include <QHostInfo>

std::optional<QHostAddress> SystemHostResolver::Resolve(const QString& host) {
    QHostAddress numeric;
    if (numeric.setAddress(host)) return numeric;
    const QHostInfo found = QHostInfo::fromName(host);
    if (found.error() != QHostInfo::NoError || found.addresses().isEmpty()) return std::nullopt;
    return found.addresses().front();
}
