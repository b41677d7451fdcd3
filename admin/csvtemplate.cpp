#include "csvtemplate.h"

#include "csvtext.h"
#include "masterrules.h"
#include "sqlutil.h"

#include "core/errors.h"
#include "store/privatefiles.h"

namespace admin {

int runTemplate(const QString& table, const QString& file, CsvEncoding encoding)
{
    const MasterRules* rules = masterRules(table);
    if (!rules)
        throw core::AppError(QStringLiteral("양식을 만들 수 있는 테이블이 아닙니다: %1 (%2)")
                           .arg(table, importableTables().join(QStringLiteral(", "))));
    QStringList names, values;
    for (const QString& field : rules->example) {
        names << field.section(u'=', 0, 0);
        values << formulaGuarded(field.section(u'=', 1));
    }
    const QByteArray bytes = encodeCsvFile(csvLine(names) + csvLine(values), encoding, file);
    // Made new like every file the tools write: never over another file, nor through a link.
    store::writePrivateFile(file, bytes, store::ExistingName::Refuse);
    say(QStringLiteral("%1: 머리 줄(열 %2개)과 보기 행 하나를 %3(%4)에 썼습니다. 보기 행을 회사의 행으로 바꾸어 import로 가져오십시오.")
            .arg(rules->table)
            .arg(names.size())
            .arg(file, csvEncodingName(encoding)));
    return 0;
}

} // namespace admin
