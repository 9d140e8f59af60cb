// A context for tracing outline paths where no view is at hand.
#pragma once

class Dc;

Dc* ScratchDc();
