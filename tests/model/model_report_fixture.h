#pragma once

#include <gtest/gtest.h>

#include "decimal_character.h"
#include "fixed_metric_measurer.h"
#include "report_fixture.h"
#include "solved_three_bus_model.h"

// The solved three-bus model with the report library's report maker and a
// display of fixed metrics; numbers with a decimal point.
class ModelReportTest : public ::testing::Test {
protected:
    ModelReportTest() : decimal_(DecimalCharacter()) {
        SetDecimalCharacter('.');
        model().SetTextMeasurer(&display);
        model().SetReportMaker(&createReport);
    }
    ~ModelReportTest() override { SetDecimalCharacter(decimal_); }

    PowerSystem& model() { return solved.net.model(); }

    char decimal_;
    FixedMetricMeasurer display;
    SolvedThreeBusModel solved;
};
