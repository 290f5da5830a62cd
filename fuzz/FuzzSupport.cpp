#include "FuzzSupport.h"

#include "core/store/InstallFolder.h"
#include "core/store/Paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace zelmar::fuzz {

namespace {

// 07.12.2026 10:30.
constexpr double kNow = 46363.4375;

QTemporaryDir& folder() {
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/zelmar-fuzz-XXXXXX"));
    return dir;
}

} // namespace

QByteArray bytesOf(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

Workspace& Workspace::instance() {
    static Workspace workspace;
    return workspace;
}

Workspace::Workspace() {
    // Qt's warnings about what an input holds ("Broken filename passed to function" for a path
    // with a zero byte) would bury the fuzzer's own report.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    if (!folder().isValid())
        std::abort();
    m_root = folder().path();
    prepareInstallFolder(m_root);
}

QString Workspace::local(QStringView registerPath) const {
    return Paths(m_root).local(registerPath);
}

void Workspace::write(QStringView registerPath, const QByteArray& bytes) const {
    QFile file(local(registerPath));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
}

void Workspace::remove(QStringView registerPath) const {
    QFile::remove(local(registerPath));
}

QString Workspace::scratchFolder() const {
    const QString path = m_root + QStringLiteral("/Temp/fuzz");
    QDir(path).removeRecursively();
    if (!QDir().mkpath(path))
        std::abort();
    return path;
}

Session::Session()
    : clock(kNow)
    , state(Paths(Workspace::instance().root()), clock, prompts, shell) {}

std::uint8_t Input::byte() {
    if (m_size == 0)
        return 0;
    --m_size;
    return *m_data++;
}

QByteArray Input::rest() {
    const QByteArray bytes = bytesOf(m_data, m_size);
    m_size = 0;
    return bytes;
}

} // namespace zelmar::fuzz
