# The build graph of the program's libraries for docs/layers.svg, without the
# tests, the benchmarks and Qt (see README, Layout).
set(GRAPHVIZ_GRAPH_NAME "voucher")
set(GRAPHVIZ_EXTERNAL_LIBS FALSE)
set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)
set(GRAPHVIZ_GENERATE_DEPENDERS FALSE)
set(GRAPHVIZ_IGNORE_TARGETS "^(app|store|report|lookup|print|entry|system)_" "^[a-z]+_test_" "^bench" "^voucher_(testsupport|testseed|testwidgets|testdesk|benchkit)$" "^layers_")
