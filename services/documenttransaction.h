#pragma once
// The commit unit of one source document on Orva: the constructor begins the
// transaction, commit() commits it and says whether it took, and the
// destructor rolls back whatever was not committed — while unwinding from a
// stop or a given-up error as much as after a failed commit. The sales and
// delivery-note steps open and end their Orva transactions only through it.

#include <QString>

class Connection;

class DocumentTransaction
{
public:
    // Begins the transaction of document (named in the log). A failing begin
    // goes to the operator: retry begins again, give up unwinds (GiveUp),
    // continue leaves the document without a transaction (begun() is false)
    // and the caller must write nothing of it.
    DocumentTransaction(Connection &orva, const QString &document);
    ~DocumentTransaction();
    DocumentTransaction(const DocumentTransaction &) = delete;
    DocumentTransaction &operator=(const DocumentTransaction &) = delete;

    bool begun() const { return m_state != State::NotBegun; }

    // Commits. A failing commit goes to the operator: retry commits again
    // (while the engine still holds the transaction), give up unwinds and the
    // destructor rolls back, continue rolls back here. True only when the
    // document is in Orva.
    bool commit();

    bool committed() const { return m_state == State::Committed; }
    // The document was written but its commit failed: nothing of it is in Orva.
    bool failedAtCommit() const { return m_failedAtCommit; }
    const QString &document() const { return m_document; }

private:
    enum class State { NotBegun, Open, Committed, RolledBack };
    void rollback();

    Connection &m_orva;
    QString m_document;
    State m_state = State::NotBegun;
    bool m_failedAtCommit = false;
};
