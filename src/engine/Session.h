#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

namespace quillio::engine {

class Dataset;
class PgConnection;
class ServerAddress;

// An engine session: its aliases (a name standing for a directory of table files), the passwords
// registered in it, and the datasets that belong to it.
class Session : public QObject
{
    Q_OBJECT

public:
    explicit Session(const QString& name, QObject* parent = nullptr);
    ~Session() override;

    QString name() const { return m_name; }

    bool isActive() const { return m_active; }
    void activate();   // nothing when active
    void deactivate(); // closes every dataset of the session

    // Directories set while the session is inactive (EngineError otherwise).
    void setNetDir(const QString& directory);
    QString netDir() const { return m_netDir; }
    void setPrivateDir(const QString& directory);
    QString privateDir() const { return m_privateDir; }

    // Alias names are compared without regard to case.
    void deleteAlias(const QString& name); // nothing when there is no such alias
    void addStandardAlias(const QString& name, const QString& path);
    bool hasAlias(const QString& name) const;
    // The alias's directory, ending with a separator; EngineError "Unknown database: name".
    QString aliasPath(const QString& name) const;

    // Tables protected with a registered password open in this session without a prompt.
    void addPassword(const QString& password);
    const QStringList& passwords() const { return m_passwords; }

    // The session's one connection to the database of `address`, made at its first use.
    std::shared_ptr<PgConnection> serverConnection(const ServerAddress& address);

private:
    friend class Dataset;
    void attach(Dataset* dataset);
    void detach(Dataset* dataset);

    QString m_name;
    bool m_active = false;
    QString m_netDir;
    QString m_privateDir;
    QHash<QString, QString> m_aliases; // lower-case name -> directory
    QStringList m_passwords;
    QList<Dataset*> m_datasets;
    QHash<QByteArray, std::shared_ptr<PgConnection>> m_serverConnections; // by connection URI
};

} // namespace quillio::engine
