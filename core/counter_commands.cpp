#include "core/counter_commands.h"

namespace {

CoreApiResult notReady() { return CoreApiResult(ResultCode::ArchiveNotReady); }

CoreApiResult counters(DocumentArchive* archive, DocumentArchive::Counters which) {
    CounterSet set;
    if (!archive || !archive->readCounters(which, set)) return notReady();
    return CoreApiResult(ResultCode::Success, set.encode());
}

CoreApiResult grossCounters(DocumentArchive* archive) {
    GrossCounterSet set;
    if (!archive || !archive->readGrossCounters(set)) return notReady();
    return CoreApiResult(ResultCode::Success, set.encode());
}

CoreApiResult departmentTotals(DocumentArchive* archive) {
    std::array<DepartmentTotals, 4> blocks;
    if (!archive || !archive->readDepartmentTotals(blocks)) return notReady();
    Bytes data;
    for (const DepartmentTotals& block : blocks) block.appendTo(data);
    return CoreApiResult(ResultCode::Success, std::move(data));
}

}  // namespace

void addCounterCommands(CommandTable& table, std::function<DocumentArchive*()> archive) {
    using Counters = DocumentArchive::Counters;
    table.add(54,
              [archive](const CoreTransaction&) { return counters(archive(), Counters::shift); });
    table.add(55, [archive](const CoreTransaction&) {
        return counters(archive(), Counters::registrationTotals);
    });
    table.add(56, [archive](const CoreTransaction&) { return grossCounters(archive()); });
    table.add(57, [archive](const CoreTransaction&) { return departmentTotals(archive()); });
}
