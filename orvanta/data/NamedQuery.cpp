#include "NamedQuery.h"
#include "DataCon.h"

namespace orv {

NamedQuery::NamedQuery(QString name) : m_name(std::move(name)) {
    // Every declared parameter exists from the start, unset (NULL).
}

QueryResult NamedQuery::run(DataCon& db) const {
    return db.query(sql(), m_params);
}

void NamedQuery::open(DataCon& db) {
    m_model.setResult(run(db));
}

} // namespace orv
