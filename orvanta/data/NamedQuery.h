#pragma once

#include "QueryModel.h"
#include "QueryResult.h"
#include "SqlParams.h"

#include <QStringList>

namespace orv {

class DataCon;

// A statement held from design time, with named parameters, whose rows a grid
// shows through its model. run() may be called from any thread; open() also
// hands the rows to the model and belongs to the thread that owns the model
// (the UI thread).
class NamedQuery {
public:
    explicit NamedQuery(QString name);

    const QString& name() const { return m_name; }
    void setSql(const QStringList& lines) { m_lines = lines; }
    // The lines joined with line breaks, as sent.
    QString sql() const { return m_lines.join(QLatin1Char('\n')); }

    void setParam(const QString& name, const QVariant& value) { m_params.bind(name, value); }
    const SqlParams& params() const { return m_params; }

    QueryResult run(DataCon& db) const;
    void open(DataCon& db);
    QueryModel& model() { return m_model; }

private:
    QString m_name;
    QStringList m_lines;
    SqlParams m_params;
    QueryModel m_model;
};

// Gives each named query of the connection its statement.
void defineNamedQueries(DataCon& db);

} // namespace orv
