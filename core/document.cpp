#include "core/document.h"

#include "link/workflows.h"
#include "params/codec.h"
#include "params/datafile.h"
#include "params/defaults.h"

Document::Document(const QString& mainCaption, const QString& company, QObject* parent)
    : QObject(parent), m_company(company)
{
    m_store.MainCaption = mainCaption;
    m_store.image.ClearEEPROMBuffer();
}

QByteArray Document::encoded() const
{
    ParameterSet params = m_store.params;
    ImageBuffer image = m_store.image;
    if (!UpdateEEPROM(params, image))
        return QByteArray();
    return image.configBlock();
}

bool Document::isModified() const
{
    // An emptied buffer has nothing to lose, also before the document is told
    // (a download empties it first), and neither has a block a download is still
    // reading in.
    if (isEmpty() || !m_clean)
        return false;
    // A configuration that cannot be encoded cannot have been saved either.
    const QByteArray now = encoded();
    return now.isEmpty() || now != *m_clean;
}

QString Document::caption() const
{
    // The company is named only until the first command replaces what was there.
    if (!m_started)
        return m_company.isEmpty() ? m_store.MainCaption : m_company + QLatin1Char(' ') + m_store.MainCaption;
    if (m_decodedCaption)
        return m_store.MainCaption + tr(linkworkflow::kDownloadedCaption);
    // A file is named as it is; the program's own names are shown in the person's language.
    const bool fromFile = m_origin == Origin::File || m_origin == Origin::Backup;
    return m_store.MainCaption + QStringLiteral(" - ")
           + (fromFile ? m_store.DataSourceName : tr(m_store.DataSourceName.toUtf8().constData()));
}

void Document::notify()
{
    m_shownModified = isModified();
    emit changed();
}

void Document::becomeClean()
{
    m_clean = encoded();
}

void Document::clear()
{
    m_store.image.ClearEEPROMBuffer();
    m_store.DataSourceName = QLatin1String(linkworkflow::kBufferEmptyName);
    comeFrom(Origin::None, QString(), false);
    m_clean.reset();
    emit replaced();
    notify();
}

Document::LoadResult Document::open(const QString& path, Origin origin)
{
    clear();
    LoadResult result;
    const datafile::Result read = datafile::read(path, m_store.image);
    if (!read.ok) {
        result.failure = read.kind == datafile::ErrorKind::ShortFile ? LoadFailure::ShortFile : LoadFailure::Unreadable;
        result.error = read.error;
    } else if (const CodecResult decoded = UpdateParams(m_store.image, m_store.params); !decoded) {
        result.failure = LoadFailure::Undecodable;
        result.error = decoded.message();
    }
    if (!result) {
        // Nothing half-read may pass for a loaded configuration.
        m_store.image.ClearEEPROMBuffer();
        return result;
    }
    m_store.image.BufferEmpty = false;
    m_store.DataSourceName = datafile::captionName(path);
    m_origin = origin;
    m_path = path;
    becomeClean();
    emit replaced();
    notify();
    return result;
}

StepError Document::saveAs(const QString& path)
{
    // Encoded into copies first: neither a value that does not fit nor a failed
    // write may change what the document holds.
    ParameterSet params = m_store.params;
    ImageBuffer image = m_store.image;
    if (const CodecResult r = UpdateEEPROM(params, image); !r)
        return r.message();
    if (const datafile::Result r = datafile::write(path, image); !r.ok)
        return r.error;
    m_store.params = params;
    m_store.image = image;
    m_store.DataSourceName = datafile::captionName(path);
    comeFrom(Origin::File, path, false);
    becomeClean();
    notify();
    return std::nullopt;
}

// A command replaced the configuration: where it now comes from, and whether the caption names the decoded data.
void Document::comeFrom(Origin origin, const QString& path, bool decodedCaption)
{
    m_origin = origin;
    m_path = path;
    m_started = true;
    m_decodedCaption = decodedCaption;
}

void Document::loadDefaults()
{
    ::loadDefaults(m_store);
    comeFrom(Origin::Defaults, QString(), false);
    becomeClean();
    emit replaced();
    notify();
}

void Document::downloaded()
{
    comeFrom(Origin::Controller, QString(), true);
    becomeClean();
    emit replaced();
    notify();
}

void Document::uploaded()
{
    if (m_origin == Origin::File || m_origin == Origin::Backup)
        return;
    setClean();
}

void Document::decodedAgain()
{
    m_started = true;
    m_decodedCaption = true;
    notify();
}

bool Document::Snapshot::sameConfiguration(const Snapshot& other) const
{
    return store.params == other.store.params && store.image.EEPROMBuffer == other.store.image.EEPROMBuffer
           && store.image.BufferEmpty == other.store.image.BufferEmpty
           && store.DataSourceName == other.store.DataSourceName && origin == other.origin && path == other.path
           && started == other.started && decodedCaption == other.decodedCaption && clean == other.clean;
}

Document::Snapshot Document::snapshot() const
{
    return Snapshot{m_store, m_origin, m_path, m_started, m_decodedCaption, m_clean};
}

void Document::restore(const Snapshot& state)
{
    m_store = state.store;
    m_origin = state.origin;
    m_path = state.path;
    m_started = state.started;
    m_decodedCaption = state.decodedCaption;
    m_clean = state.clean;
    emit replaced();
    notify();
}

void Document::restoreParams(const ParameterSet& params)
{
    m_store.params = params;
    emit replaced();
    notify();
}

void Document::setClean()
{
    becomeClean();
    notify();
}

void Document::checkModified()
{
    if (isModified() != m_shownModified)
        notify();
}
