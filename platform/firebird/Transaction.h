#pragma once

namespace Firebird { class ITransaction; }

namespace fb {

class Attachment;

// The one transaction style of the system: read_committed, rec_version,
// nowait. Work becomes durable with commitRetaining(), which keeps it open.
class Transaction {
public:
    explicit Transaction(Attachment& attachment);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void start();
    bool isActive() const { return tra_ != nullptr; }
    void commit();
    void commitRetaining();
    void rollback();
    void rollbackRetaining();
    // Starts the transaction when it is not active.
    Firebird::ITransaction* raw();
    Attachment& attachment() const { return *att_; }

private:
    Attachment* att_;
    Firebird::ITransaction* tra_ = nullptr;
};

} // namespace fb
