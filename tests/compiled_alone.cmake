# Suite files that compile on their own rather than in a batch with the
# suite's other files: each keeps helpers or constants of its own under
# names another file of its suite uses too.
set(TESSALINE_TESTS_COMPILED_ALONE
  app/label_type_dialogs_test.cpp
  carddoc/sample_card_test.cpp
  dialogs/counter_spec_dialog_test.cpp
  dialogs/object_dialogs_test.cpp
  dialogs/print_dialogs_test.cpp
  dialogs/quick_card_dialog_test.cpp
  dialogs/quick_card_layout_dialog_test.cpp
  dialogs/star_info_dialog_test.cpp
  dialogs/text_dialogs_test.cpp
  faults/refused_write_test.cpp
  foundation/import_reader_test.cpp
  frames/quick_card_frames_test.cpp
  frames/story_store_test.cpp
  graphics/picture_decoder_test.cpp
  graphics/rect_ops_test.cpp
  graphics/turned_border_test.cpp
  journeys/postscript_print_journey_test.cpp
  journeys/text_chain_journey_test.cpp
  journeys/text_editing_journey_test.cpp
  journeys/text_tool_journey_test.cpp
  platform/dc_kept_test.cpp
  platform/dc_raster_test.cpp
  platform/dc_shapes_test.cpp
  platform/dc_text_path_test.cpp
  platform/dc_vector_test.cpp
  text/draw_test.cpp
  text/text_tool_test.cpp
  typography/glyph_layout_test.cpp
  wizard/wiz_tree_test.cpp
  wizard/wizard_card_document_test.cpp
)
