#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model_interface.h"
#include "network_records.h"

// A model that keeps what a dialog hands it: the direction records and the
// continuation result text. Everything else answers as an empty model and
// changes nothing.
class RecordingModel final : public IModel {
public:
    std::vector<BusRecord> appliedRecords;
    std::string continuationResult;
    int continuationResultSets = 0;

    void ApplyRecordToElement(const BusRecord& record) override { appliedRecords.push_back(record); }
    void SetContinuationResult(std::string_view text) override {
        continuationResult = text;
        ++continuationResultSets;
    }
    const std::string& GetContinuationResult() const override { return continuationResult; }

    void AddRef() override {}
    void Release() override {}
    void SetView(IView*) override {}
    void SetMessageSink(IMessageSink*) override {}
    IMessageSink* GetMessageSink() const override { return nullptr; }
    void SetPrompt(IPrompt*) override {}
    void SetTextMeasurer(ITextMeasurer*) override {}
    void SetClipboard(ElementList*) override {}
    void SetColorMaps(ColorMap*, ColorMap*, ColorMap*) override {}
    void SetLabelFontCounts(const LabelFontCounts&) override {}
    Size GetDiagramSize() const override { return {}; }
    void SetDiagramSize(Size) override {}
    void SetDuplicationSteps(int, int, int) override {}
    void GetDuplicationSteps(int&, int&, int&) const override {}
    void SetSnapToGrid(bool, int) override {}
    int GetGridStep() const override { return 1; }
    void SetEditMode(bool) override {}
    bool GetEditMode() const override { return false; }
    void SetColorMapMode(int) override {}
    int GetColorMapMode() const override { return kNormalColors; }
    ColorMap* GetColorMap(int) const override { return nullptr; }
    ColorRef GetFontColor() const override { return kBlack; }
    void SetFontColor(ColorRef) override {}
    ColorRef GetLineColor() const override { return kBlack; }
    void SetLineColor(ColorRef) override {}
    int GetLineWidth() const override { return 1; }
    void SetLineWidth(int) override {}
    const LogFont& GetDefaultFont() const override { return font_; }
    void SetDefaultFont(const LogFont&) override {}
    const LogFont& GetFont() const override { return font_; }
    ColorRef GetBackgroundColor() const override { return kWhite; }
    void SetBackgroundColor(ColorRef) override {}
    BackgroundPictures& GetBackgroundPictures() override { return pictures_; }
    void SetRemote(bool) override {}
    bool IsRemote() const override { return false; }
    void ApplyFontSettings(int, ColorRef, int, std::span<const FontSetting>) override {}
    int NewKey(int, bool) override { return 0; }
    IElement* FindByKey(int, const ElementList*) const override { return nullptr; }
    std::optional<std::string> GetNameOfKey(int) const override { return std::nullopt; }
    std::string GetStudyName(int, const char* placeholder) const override { return placeholder ? placeholder : ""; }
    double GetSystemTotal(int) const override { return 0.0; }
    void AddToSelection(IElement*) override {}
    bool IsSelected(int) const override { return false; }
    bool IsMarked(int) const override { return false; }
    bool AddToMarked(IElement*) override { return false; }
    bool HasSelection() const override { return false; }
    bool GetNodeEditElement(IElement*&) const override { return false; }
    bool GlueSelection() override { return false; }
    void ClearSelection() override {}
    bool HandleEditEvent(int, int, int, const Point*, IView*, const Rect*) override { return false; }
    void Draw(DrawingContext&, const Rect*) override {}
    void GetBoundingRect(Rect&) override {}
    void SerializeModel(Archive&) override {}
    int RunSolver(const char*, const char*, ILineWriter*) override { return 0; }
    int RunContinuation(const char*, bool, double) override { return 0; }
    void BuildBusGroups() override {}
    void InvalidateBusGroups() override {}
    int GetBusGroup(int) const override { return -1; }
    IRecordCursor* GetRecordCursor() override { return nullptr; }
    bool ExportIEEECommonFormat(const char*) override { return false; }
    void ReadResultLine(const std::string&) override {}
    bool VoltageSensitivity(const char*, int) override { return false; }
    bool BusSensitivityFactors(int, const char*, const char*, int&) override { return false; }
    bool LineFlowSensitivity(int, const char*) override { return false; }
    TransferCapabilityResult* TransferCapability(const TransferCapabilityRequest&) override { return nullptr; }
    void SetReportMaker(ReportMaker) override {}
    IDBReport* PowerFlowReport(const char*, int) override { return nullptr; }
    IDBReport* TransferCapabilityReport(TransferCapabilityResult*, const char*, int) override { return nullptr; }

private:
    LogFont font_;
    BackgroundPictures pictures_;
};
