#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Twenty starts in a row under openbox (see activations_under).
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11.
. "$(dirname "$0")/../support/popup.sh" "$@"

activations_under openbox --sm-disable
finish
