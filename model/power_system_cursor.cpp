// The model's record cursor: the network walked as the solver reads it,
// with buses joined by closed switches sent as bus groups.

#include <string>

#include "bus.h"
#include "case_numbering.h"
#include "element_key.h"
#include "element_type.h"
#include "message_sink.h"
#include "power_system.h"
#include "record_filters.h"

IRecordCursor* PowerSystem::GetRecordCursor() {
    groupBuses_ = true;
    return &cursor_;
}

void PowerSystem::SetTable(int table, int filter) {
    table_ = table;
    filter_ = filter;
    recordMode_ = 1;
}

int PowerSystem::MoveFirst() {
    walkTable_ = table_;
    const ElementList& list = walkTable_ == IRecordCursor::BusTable      ? lists_[kBuses]
                              : walkTable_ == IRecordCursor::BranchTable ? lists_[kLines]
                                                                         : lists_[kConnectors];
    if (walkTable_ == IRecordCursor::BusTable) groupCounter_ = 0;
    walkPosition_ = list.Entries().begin();
    walkEnd_ = list.Entries().end();
    return list.GetCount();
}

bool PowerSystem::Next(BusRecord& record) {
    if (walkTable_ != IRecordCursor::BusTable) return false;
    if (groupBuses_ && NextGroupRecord(record)) return true;
    return NextBusRecord(record);
}

bool PowerSystem::Next(BranchRecord& record) {
    if (walkTable_ == IRecordCursor::BranchTable) return NextBranchRecord(record);
    if (walkTable_ == IRecordCursor::ConnectorTable) return NextConnectorRecord(record);
    return false;
}

bool PowerSystem::NextGroupRecord(BusRecord& record) {
    while (groupCounter_ < busGroups_.GetGroupCount()) {
        const int index = groupCounter_++;
        if (busGroups_.FillGroupRecord(index, &record)) {
            record.number = GroupNumberOnRecords(index);
            return true;
        }
    }
    return false;
}

bool PowerSystem::NextBusRecord(BusRecord& record) {
    while (walkPosition_ != walkEnd_) {
        IElement* bus = (walkPosition_++)->second;
        if (groupBuses_ && busGroups_.GetGroup(bus->GetKey()) >= 0) continue;
        if (!bus->FillSolverRecord(&record, recordMode_)) continue;
        if (!BusFilterPasses(filter_, record.kind)) continue;
        if (groupBuses_) RenumberGroupedRegulatedBus(*bus, record);
        return true;
    }
    return false;
}

bool PowerSystem::NextBranchRecord(BranchRecord& record) {
    while (walkPosition_ != walkEnd_) {
        IElement* line = (walkPosition_++)->second;
        if (!line->IsOn() || !line->FillSolverRecord(&record, recordMode_)) continue;
        if (groupBuses_) {
            const auto& ends = line->GetEndKeys();
            const int fromGroup = busGroups_.GetGroup(ends[0]);
            if (fromGroup >= 0 && fromGroup == busGroups_.GetGroup(ends[1])) {
                // Both ends are one node: the solver would refuse the whole
                // network for a branch that joins a bus to itself.
                ReportWarning("Line '" + line->GetName() +
                              "' connects buses of one bus group and is left out of the solution!");
                continue;
            }
            RenumberGroupedEnds(record);
        }
        if (!BranchFilterPasses(filter_, record.kind)) continue;
        return true;
    }
    return false;
}

bool PowerSystem::NextConnectorRecord(BranchRecord& record) {
    while (walkPosition_ != walkEnd_) {
        IElement* connector = (walkPosition_++)->second;
        if (connector->FillSolverRecord(&record, recordMode_)) return true;
    }
    return false;
}

void PowerSystem::RenumberGroupedEnds(BranchRecord& record) {
    const int fromGroup = busGroups_.GetGroup(record.fromKey);
    const int toGroup = busGroups_.GetGroup(record.toKey);
    // The regulated bus is one of the ends, named by its bus number.
    if (record.kind == BranchRecord::RegulatingTransformer) {
        if (fromGroup >= 0 && record.regulatedBus == static_cast<int>(KeySerial(record.fromKey))) {
            record.regulatedBus = GroupNumberOnRecords(fromGroup);
        } else if (toGroup >= 0 && record.regulatedBus == static_cast<int>(KeySerial(record.toKey))) {
            record.regulatedBus = GroupNumberOnRecords(toGroup);
        }
    }
    if (fromGroup >= 0) record.fromBus = GroupNumberOnRecords(fromGroup);
    if (toGroup >= 0) record.toBus = GroupNumberOnRecords(toGroup);
}

void PowerSystem::RenumberGroupedRegulatedBus(IElement& bus, BusRecord& record) {
    const double* values = bus.GetValues();
    if (!values || record.regulatedBus == 0) return;
    const int group = busGroups_.GetGroup(static_cast<int>(values[Bus::kRegulatedBusKey]));
    if (group >= 0) record.regulatedBus = GroupNumberOnRecords(group);
}

int PowerSystem::GroupNumberOnRecords(int index) const {
    if (index < static_cast<int>(exportGroupNumbers_.size())) return exportGroupNumbers_[static_cast<std::size_t>(index)];
    return BusGroups::GroupNumber(index);
}

void PowerSystem::NumberGroupsForExport() {
    // The IEEE common data format has four columns for a bus number.
    exportGroupNumbers_ = CaseNumbering::FreeGroupNumbers(lists_[kBuses], busGroups_.GetGroupCount());
}

void PowerSystem::BuildBusGroups() {
    if (!topologyChanged_) return;
    busGroups_.SetOwner(this);
    busGroups_.Clear();
    for (const auto& [key, element] : lists_[kConnectors].Entries()) busGroups_.AddSwitch(element);
    topologyChanged_ = false;
}

IElement* PowerSystem::FindAttached(int busKey, int category) const {
    auto* bus = dynamic_cast<Bus*>(FindByKey(busKey));
    if (!bus) return nullptr;
    for (int key : bus->GetKeyList()) {
        if (KeyCategory(key) != category) continue;
        if (IElement* element = FindByKey(key)) return element;
    }
    return nullptr;
}

void PowerSystem::ReportWarning(const std::string& text) const {
    if (sink_) sink_->AddMessage(IMessageSink::Warning, text.c_str());
}

void PowerSystem::CheckLimitsOf(IElement& element) const {
    std::string warning;
    if (element.CheckLimits(warning)) ReportWarning(warning);
}
