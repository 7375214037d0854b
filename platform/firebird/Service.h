#pragma once

#include <QString>
#include <functional>

namespace Firebird { class IService; }

namespace fb {

// The server's service manager: "host:service_mgr", or the local one (the
// embedded engine) when host is empty.
class Service {
public:
    Service(const QString& host, const QString& user, const QString& password);
    ~Service();
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;

    // Backs database up into backupFile with verbose output, no garbage
    // collection; every output line is handed to onLine as it arrives.
    void backup(const QString& database, const QString& backupFile,
                const std::function<void(const QString&)>& onLine);

private:
    Firebird::IService* svc_ = nullptr;
};

} // namespace fb
