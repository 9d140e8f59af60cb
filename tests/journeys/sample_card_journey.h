// Journeys that begin where most people do: the sample business card open
// in a maximized window.
#pragma once

#include <QPoint>
#include <gtest/gtest.h>

#include "journey_fixture.h"

class SampleCardJourney : public JourneyTest {
protected:
    void SetUp() override
    {
        JourneyTest::SetUp();
        ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
        MaximizeCardWindow();
    }

    // The star of the sample: 28 x 28 at (20, 20), over the logo's disc.
    QPoint Star() const { return CardPoint(34, 34); }
};
